#include "files/CmdlSHFileOperation.h"

#include "platform/RuntimeError.h"

namespace kolvek {

CmdlSHFileOperation::CmdlSHFileOperation(Shell& shell, const TextCodec& codec)
    : shell_(shell), codec_(codec), allowUndo_(false), confirmMakeDir_(true),
      confirmOperation_(true), customText_(), includeDirectories_(true), parentWnd_(0),
      renameOnCollision_(false), silentMode_(false) {}

bool CmdlSHFileOperation::MoveFiles() {
    return PerformFileOperation(shellop::Move);
}

bool CmdlSHFileOperation::CopyFiles() {
    return PerformFileOperation(shellop::Copy);
}

bool CmdlSHFileOperation::DeleteFiles() {
    return PerformFileOperation(shellop::Delete);
}

bool CmdlSHFileOperation::RenameFiles() {
    return PerformFileOperation(shellop::Rename);
}

std::string CmdlSHFileOperation::NameList(const std::vector<std::string>& names) const {
    // Each name is converted on its own so that the zero separators never pass
    // through the codec.
    std::string list;
    for (const std::string& name : names) {
        list += codec_.FromUtf8(name, CodePage::Ansi);
        list += '\0';
    }
    list += '\0';
    return list;
}

bool CmdlSHFileOperation::PerformFileOperation(std::uint32_t operation) {
    std::uint16_t flags = 0;
    if (allowUndo_)
        flags |= shellop::AllowUndo;
    if (silentMode_)
        flags |= shellop::Silent;
    if (renameOnCollision_)
        flags |= shellop::RenameOnCollision;
    if (!confirmOperation_)
        flags |= shellop::NoConfirmation;
    if (!confirmMakeDir_)
        flags |= shellop::NoConfirmMkDir;
    if (!includeDirectories_)
        flags |= shellop::FilesOnly;

    const bool simpleProgress = !customText_.empty();
    if (simpleProgress)
        flags |= shellop::SimpleProgress;

    if (sourceFiles_.empty())
        throw RuntimeError(err::NoSourceFiles, "No source files specified file operation");

    if (destFiles_.size() > 1)
        flags |= shellop::MultiDestFiles;

    ShellFileOpRequest request;
    request.ownerWindow = parentWnd_;
    request.function = operation;
    request.from = NameList(sourceFiles_);
    request.to = NameList(destFiles_);
    request.flags = flags;
    if (simpleProgress)
        request.progressTitle = codec_.FromUtf8(customText_, CodePage::Ansi);
    request.progressTitle += '\0';

    const ShellFileOpResult result = shell_.FileOperation(request);
    return result.returnCode == 0 && !result.anyOperationsAborted;
}

} // namespace kolvek

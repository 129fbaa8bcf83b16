#include "files/CmdlSHFileOperation.h"

#include "platform/RuntimeError.h"

namespace kolvek {

using namespace shellop;

CmdlSHFileOperation::CmdlSHFileOperation(Shell& shell, const TextCodec& codec)
    : shell_(shell), codec_(codec), allowUndo_(false), confirmMakeDir_(true),
      confirmOperation_(true), customText_(), includeDirectories_(true), parentWnd_(0),
      renameOnCollision_(false), silentMode_(false) {}

bool CmdlSHFileOperation::MoveFiles() {
    return PerformFileOperation(FO_MOVE);
}

bool CmdlSHFileOperation::CopyFiles() {
    return PerformFileOperation(FO_COPY);
}

bool CmdlSHFileOperation::DeleteFiles() {
    return PerformFileOperation(FO_DELETE);
}

bool CmdlSHFileOperation::RenameFiles() {
    return PerformFileOperation(FO_RENAME);
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
        flags |= FOF_ALLOWUNDO;
    if (silentMode_)
        flags |= FOF_SILENT;
    if (renameOnCollision_)
        flags |= FOF_RENAMEONCOLLISION;
    if (!confirmOperation_)
        flags |= FOF_NOCONFIRMATION;
    if (!confirmMakeDir_)
        flags |= FOF_NOCONFIRMMKDIR;
    if (!includeDirectories_)
        flags |= FOF_FILESONLY;

    const bool simpleProgress = !customText_.empty();
    if (simpleProgress)
        flags |= FOF_SIMPLEPROGRESS;

    if (sourceFiles_.empty())
        throw RuntimeError(err::NoSourceFiles, "No source files specified file operation");

    if (destFiles_.size() > 1)
        flags |= FOF_MULTIDESTFILES;

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

#include "platform/win32/Win32Shell.h"

#include "platform/PathText.h"
#include "platform/RuntimeError.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32DllSearch.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kolvek {

// The seam's codes and flags go to the shell unchanged.
static_assert(shellop::Move == FO_MOVE && shellop::Copy == FO_COPY &&
                  shellop::Delete == FO_DELETE && shellop::Rename == FO_RENAME,
              "operation codes");
static_assert(shellop::MultiDestFiles == FOF_MULTIDESTFILES, "FOF_MULTIDESTFILES");
static_assert(shellop::Silent == FOF_SILENT, "FOF_SILENT");
static_assert(shellop::RenameOnCollision == FOF_RENAMEONCOLLISION, "FOF_RENAMEONCOLLISION");
static_assert(shellop::NoConfirmation == FOF_NOCONFIRMATION, "FOF_NOCONFIRMATION");
static_assert(shellop::AllowUndo == FOF_ALLOWUNDO, "FOF_ALLOWUNDO");
static_assert(shellop::FilesOnly == FOF_FILESONLY, "FOF_FILESONLY");
static_assert(shellop::SimpleProgress == FOF_SIMPLEPROGRESS, "FOF_SIMPLEPROGRESS");
static_assert(shellop::NoConfirmMkDir == FOF_NOCONFIRMMKDIR, "FOF_NOCONFIRMMKDIR");

#ifndef _WIN64
// The published 32-bit layout has no padding after fFlags; callers built with
// other packing would hand the shell a record it misreads.
static_assert(offsetof(SHFILEOPSTRUCTA, fFlags) == 16, "fFlags at byte 16");
static_assert(offsetof(SHFILEOPSTRUCTA, fAnyOperationsAborted) == 18,
              "fAnyOperationsAborted at byte 18");
static_assert(offsetof(SHFILEOPSTRUCTA, lpszProgressTitle) == 26, "progress title at byte 26");
static_assert(sizeof(SHFILEOPSTRUCTA) == 30, "SHFILEOPSTRUCTA is 30 bytes");
static_assert(offsetof(SHFILEOPSTRUCTW, fFlags) == 16, "fFlags at byte 16");
static_assert(offsetof(SHFILEOPSTRUCTW, fAnyOperationsAborted) == 18,
              "fAnyOperationsAborted at byte 18");
static_assert(offsetof(SHFILEOPSTRUCTW, lpszProgressTitle) == 26, "progress title at byte 26");
static_assert(sizeof(SHFILEOPSTRUCTW) == 30, "SHFILEOPSTRUCTW is 30 bytes");
#endif

namespace {

// The SDK's own types: a hand-written one could differ in its calling
// convention, which only the 32-bit program would feel.
using FileOperationFunction = decltype(&SHFileOperationA);
using RecycleFunction = decltype(&SHFileOperationW);

// Which file a name shows: its volume's serial number and its index there.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;

    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

// The identity of the file at `path`, or none when it cannot be read. Opened
// for its attributes only, sharing everything, and closed again at once: the
// handle must not hold up the shell.
std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
    const UniqueHandle file(::CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.Valid() || !::GetFileInformationByHandle(file.Get(), &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

} // namespace

FARPROC Win32Shell::Shell32Function(const char* name) {
    if (shell32_.Get() == nullptr)
        shell32_.Reset(LoadSystemDll("shell32.dll"));
    const FARPROC address =
        shell32_.Get() != nullptr ? ::GetProcAddress(shell32_.Get(), name) : nullptr;
    if (address == nullptr && ::GetLastError() == 0)
        ::SetLastError(ERROR_DLL_NOT_FOUND);
    return address;
}

ShellFileOpResult Win32Shell::FileOperation(const ShellFileOpRequest& request) {
    ShellFileOpResult result;
    const FARPROC address = Shell32Function("SHFileOperationA");
    if (address == nullptr) {
        result.returnCode = static_cast<std::int32_t>(::GetLastError());
        return result;
    }
    const auto shellFileOperation = AsFunction<FileOperationFunction>(address);

    // The request's strings already carry their zero terminators; they stay
    // alive (the request is const and outlives the call) until the shell returns.
    SHFILEOPSTRUCTA op{};
    op.hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.ownerWindow));
    op.wFunc = request.function;
    op.pFrom = request.from.c_str();
    op.pTo = request.to.c_str();
    op.fFlags = request.flags;
    op.fAnyOperationsAborted = FALSE;
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = request.progressTitle.c_str();

    result.returnCode = shellFileOperation(&op);
    result.anyOperationsAborted = op.fAnyOperationsAborted != FALSE;
    return result;
}

void Win32Shell::RecycleFile(const std::string& path) {
    // The shell reads * and ? in a source name as wildcards, and a name
    // without its folder relative to the current folder; and it deletes
    // outright what it cannot put back by its full path. Only one file, named
    // in full, may go.
    if (path.find_first_of("*?") != std::string::npos || !IsFullPath(path))
        throw RuntimeError(err::BadFileName);
    const FARPROC address = Shell32Function("SHFileOperationW");
    if (address == nullptr)
        ThrowLastError();
    const auto shellFileOperation = AsFunction<RecycleFunction>(address);

    // UTF-16 all the way: an ANSI code page would turn a character it lacks
    // into "?", a wildcard. The list ends in two zeros: c_str adds the second.
    const std::wstring wide = Widen(path);
    std::wstring from = wide;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    // No question, no progress window, no error box of the shell's: the
    // user has answered already, and a failure gets the program's report.
    // Where the drive keeps no Recycle Bin, the shell then deletes outright.
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const std::optional<FileIdentity> before = IdentityOf(wide);
    const int returned = shellFileOperation(&op);
    if (returned != 0)
        ThrowWin32Error(static_cast<DWORD>(returned));
    // An answer of success for a name that still shows a file would launch
    // the editor on the old map, or on another one: where the system
    // virtualizes this program, its VirtualStore's file hides one of the
    // same name in the real folder, and the shell takes only the first.
    if (op.fAnyOperationsAborted != FALSE ||
        ::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) {
        const std::optional<FileIdentity> after = IdentityOf(wide);
        if (before && after && !(*before == *after))
            throw RuntimeError(err::PathFileAccessError,
                               "Die Datei " + path +
                                   " ist in den Papierkorb verschoben (auf einem Laufwerk ohne "
                                   "Papierkorb gelöscht), doch unter ihrem Namen zeigt Windows "
                                   "jetzt eine andere Datei, etwa die gleichnamige, die der "
                                   "VirtualStore verdeckt hatte.");
        throw RuntimeError(err::PathFileAccessError);
    }
}

} // namespace kolvek

#include "platform/win32/Win32Shell.h"

#include "platform/win32/Win32Api.h"

#include <shellapi.h>

#include <cstddef>
#include <cstdint>

namespace kolvek {

#ifndef _WIN64
// The published 32-bit layout has no padding after fFlags; callers built with
// other packing would hand the shell a record it misreads.
static_assert(offsetof(SHFILEOPSTRUCTA, fFlags) == 16, "fFlags at byte 16");
static_assert(offsetof(SHFILEOPSTRUCTA, fAnyOperationsAborted) == 18,
              "fAnyOperationsAborted at byte 18");
static_assert(offsetof(SHFILEOPSTRUCTA, lpszProgressTitle) == 26, "progress title at byte 26");
static_assert(sizeof(SHFILEOPSTRUCTA) == 30, "SHFILEOPSTRUCTA is 30 bytes");
#endif

namespace {

using FileOperationFunction = int(WINAPI*)(LPSHFILEOPSTRUCTA);

// shell32.dll is loaded the first time a file operation runs, not with the
// program: it is large, pulls in several more DLLs and is needed only once
// OK is pressed. Null when it cannot be loaded.
FileOperationFunction ShellFileOperation() {
    static const FileOperationFunction function = [] {
        HMODULE shell = ::LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (shell == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER)
            shell = ::LoadLibraryW(L"shell32.dll"); // a system without the search flags
        if (shell == nullptr)
            return FileOperationFunction();
        return reinterpret_cast<FileOperationFunction>(
            reinterpret_cast<void*>(::GetProcAddress(shell, "SHFileOperationA")));
    }();
    return function;
}

} // namespace

ShellFileOpResult Win32Shell::FileOperation(const ShellFileOpRequest& request) {
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

    ShellFileOpResult result;
    const FileOperationFunction fileOperation = ShellFileOperation();
    if (fileOperation == nullptr) {
        // As the shell answers a request it cannot carry out.
        result.returnCode = static_cast<std::int32_t>(ERROR_DLL_NOT_FOUND);
        return result;
    }
    result.returnCode = fileOperation(&op);
    result.anyOperationsAborted = op.fAnyOperationsAborted != FALSE;
    return result;
}

} // namespace kolvek

#include "platform/win32/Win32DllSearch.h"

#include "platform/RuntimeError.h"
#include "platform/win32/Win32Process.h"

namespace kolvek {
namespace {

// The SDK's own type, named only inside decltype, so nothing is imported: a
// hand-written one could differ in its calling convention, which only the
// 32-bit program would feel.
using SetDefaultDllDirectoriesFunction = decltype(&::SetDefaultDllDirectories);

// Looked up in kernel32 at run time: imported statically, it would keep the
// program from loading at all where the system lacks it. Null there.
SetDefaultDllDirectoriesFunction FindSetDefaultDllDirectories() {
    const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    const FARPROC address =
        kernel32 != nullptr ? ::GetProcAddress(kernel32, "SetDefaultDllDirectories") : nullptr;
    return address != nullptr ? AsFunction<SetDefaultDllDirectoriesFunction>(address) : nullptr;
}

} // namespace

void RestrictDllSearch() {
    const SetDefaultDllDirectoriesFunction setDefaultDllDirectories =
        FindSetDefaultDllDirectories();
    if (setDefaultDllDirectories == nullptr ||
        !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        ::SetDllDirectoryW(L"");
}

HMODULE LoadSystemDll(const std::string& name) {
    // The system that has SetDefaultDllDirectories takes the search flags:
    // the DLL's own imports then come from the system folder alone. Where
    // it lacks them, so that they are not taken from beside the program,
    // the altered search looks beside the DLL first, that is in the system
    // folder. The two cannot be combined.
    const DWORD flags = FindSetDefaultDllDirectories() != nullptr ? LOAD_LIBRARY_SEARCH_SYSTEM32
                                                                  : LOAD_WITH_ALTERED_SEARCH_PATH;
    std::wstring path;
    try {
        path = SystemFilePath(name);
    } catch (const RuntimeError&) {
        ::SetLastError(ERROR_DLL_NOT_FOUND);
        return nullptr;
    }
    return ::LoadLibraryExW(path.c_str(), nullptr, flags);
}

} // namespace kolvek

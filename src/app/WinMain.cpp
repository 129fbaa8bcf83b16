// KOLVEK.EXE: starts the map editor of Armada II. The launcher dialog is the
// program's only window; the program runs as long as the dialog is open.

#include "app/WorldEditDialog.h"
#include "launcher/EventBoundary.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

#include <commctrl.h>

namespace {

// KOLVEK.EXE is often started where it was unpacked, in Downloads beside
// whatever else came from the web: Windows would look there first for any DLL
// that is not a known one, also for the DLLs that system DLLs load. So DLLs
// come from the system folder only. Windows 7 and Vista without the loader
// update of 2011 (KB2533623) lack SetDefaultDllDirectories and its flags:
// imported statically, it would keep the program from loading there at all.
// There, SetDllDirectoryW(L"") at least takes the current folder out of the
// search.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    const FARPROC address =
        kernel32 != nullptr ? ::GetProcAddress(kernel32, "SetDefaultDllDirectories") : nullptr;
    if (address == nullptr || !kolvek::AsFunction<SetDefaultDllDirectoriesFunction>(address)(
                                  LOAD_LIBRARY_SEARCH_SYSTEM32))
        ::SetDllDirectoryW(L"");
}

int RunDialog(HINSTANCE instance, kolvek::Platform& platform) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    kolvek::WorldEditDialog dialog(instance, platform);
    if (!dialog.Create())
        return 1;
    // Ends the program itself, before the dialog is shown, when start-up fails.
    dialog.Load();
    dialog.Show();

    MSG message;
    BOOL got;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return 1;
        HWND window = dialog.Handle();
        if (window != nullptr && ::IsDialogMessageW(window, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictDllSearch();

    kolvek::Win32Platform platform;
    int result = 1;
    // What escapes the dialog's making (its layout, its first messages) ends
    // in the generic report too, never in the C++ runtime's abort.
    try {
        kolvek::RunEventHandler(platform.Get(),
                                [&] { result = RunDialog(instance, platform.Get()); });
    } catch (...) {
        kolvek::ReportUnhandledError(platform.Get(), kolvek::err::InternalError);
    }
    return result;
}

// KOLVEK.EXE: starts the map editor of Armada II. The launcher dialog is the
// program's only window; the program runs as long as the dialog is open.

#include "app/WorldEditDialog.h"
#include "launcher/EventBoundary.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32DllSearch.h"
#include "platform/win32/Win32Platform.h"

namespace {

int RunDialog(HINSTANCE instance, kolvek::Platform& platform) {
    kolvek::WorldEditDialog dialog(instance, platform);
    if (!dialog.Create())
        return 1;
    // Ends the program itself, before the dialog is shown, when start-up fails.
    dialog.Load();
    dialog.Show();
    return dialog.RunMessages();
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // First, before any DLL is loaded at run time.
    kolvek::RestrictDllSearch();

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

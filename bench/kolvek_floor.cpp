// The floor of KOLVEK.EXE's start-up: KOLVEK.EXE's own dialog, made and shown
// by the program's own code from its own resources (the same controls, icon
// and picture), with nothing behind it. Form_Load never runs: no settings
// file is read, no map listed, no script copy looked for, and the map list
// stays empty. KOLVEK.EXE's start-up over this one's is what all that costs.

#include "app/WorldEditDialog.h"
#include "platform/win32/Win32DllSearch.h"
#include "platform/win32/Win32Platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    kolvek::RestrictDllSearch();
    // The dialog wants a platform for its error report and the form's
    // events; the benchmark presses nothing, so no event runs.
    kolvek::Win32Platform platform;
    kolvek::WorldEditDialog dialog(instance, platform.Get());
    if (!dialog.Create())
        return 1;
    dialog.Show();
    return dialog.RunMessages();
}

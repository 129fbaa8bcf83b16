// The yardstick for KOLVEK.EXE's start-up: the least a Win32 program can do
// to show a dialog like it. One modeless dialog from a resource template with
// a list box and two buttons; OK, Cancel and the close box end the program.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "minimal_dialog.h"

namespace {

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            ::DestroyWindow(dialog);
        return TRUE;
    case WM_CLOSE:
        ::DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HWND dialog =
        ::CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MINIMAL), nullptr, Procedure, 0);
    if (dialog == nullptr)
        return 1;
    ::ShowWindow(dialog, SW_SHOW);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageW(dialog, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

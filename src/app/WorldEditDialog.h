#pragma once
// The launcher dialog as a Win32 window: creates the controls from the stored
// layout at the display's resolution and routes each message to one named
// method; every event of the form runs through the event boundary.

#include "app/GdiObjects.h"
#include "app/Win32DialogView.h"
#include "launcher/frmWorldEdit.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Api.h"

namespace kolvek {

class WorldEditDialog {
public:
    // The dialog's window class, registered by Create.
    static constexpr const wchar_t* ClassName = L"KolvekWorldEdit";

    WorldEditDialog(HINSTANCE instance, Platform& platform);
    WorldEditDialog(const WorldEditDialog&) = delete;
    WorldEditDialog& operator=(const WorldEditDialog&) = delete;

    // Makes the dialog window with all its controls (the common controls
    // registered first), hidden and centred on the screen. Answers false when
    // the window cannot be made.
    bool Create();
    // Runs Form_Load, which ends the program itself when start-up fails.
    void Load();
    // Shows the dialog with the focus on OK.
    void Show();
    // Routes the thread's messages, the dialog's keys included, until the
    // program quits; answers the quit's exit code, or 1 when reading a
    // message fails.
    int RunMessages();

    HWND Handle() const { return view_.Dialog(); }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInit(HWND dialog);
    void OnCommand(int id, int code);
    void OnClose();
    void OnDestroy();
    bool OnDrawItem(const DRAWITEMSTRUCT& item);

    void CreateFont(int dpiY);
    void CreateControls(int dpiX, int dpiY);
    // The picture's tooltip, made by CreateTooltip on the first mouse move
    // over the picture, which it hands on to the new tooltip.
    void AddTooltip();
    static LRESULT CALLBACK WatchFirstHover(HWND picture, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    void CreateTooltip(HWND picture, WPARAM wParam, LPARAM lParam);
    void SizeAndCentre(int dpiX, int dpiY);
    void Raise(void (frmWorldEdit::*handler)());

    HINSTANCE instance_;
    Platform& platform_;
    Win32DialogView view_;
    frmWorldEdit form_;
    GdiObject<HFONT> font_;
    GdiObject<HBITMAP> picture_;
};

} // namespace kolvek

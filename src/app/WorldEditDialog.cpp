#include "app/WorldEditDialog.h"

#include "app/resource.h"
#include "launcher/DialogLayout.h"
#include "launcher/EventBoundary.h"
#include "platform/win32/Win32Text.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <vector>

namespace kolvek {

namespace {

const wchar_t kCaption[] = L"Armada II Karteneditor starten";
const char kLabelText[] = "Gib den Namen der neuen Karte ein. Du hast maximal 20 Zeichen zur "
                          "Verfügung. Verwende keine Leerschläge im Karten- namen.";
const char kTooltip[] = "Star Trek Armada II mit Doppelklick normal starten";

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int kPathLimit = 100;
constexpr int kNameLimit = 20;

// How one control is made as a window.
struct WindowRecipe {
    int id;
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    const char* text;
};

WindowRecipe RecipeFor(Control control) {
    switch (control) {
    case Control::Armadapath:
        // Never shown and never focused; it only holds the game's path.
        return {IDC_ARMADAPATH, L"EDIT", WS_CHILD | WS_DISABLED | WS_GROUP | ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE, ""};
    case Control::bznList:
        // Not LBS_SORT: the entries arrive sorted, and a sorting box inserts
        // in quadratic time.
        return {IDC_BZNLIST, L"LISTBOX",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY |
                    LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE, nullptr};
    case Control::newWorld:
        return {IDC_NEWWORLD, L"EDIT", WS_CHILD | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE, "neue_Welt"};
    case Control::Frame1:
        return {IDC_FRAME1, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX, 0, "Karte"};
    case Control::optEdit:
        // First of the option group; the checked option carries the tab stop.
        return {IDC_OPTEDIT, L"BUTTON",
                WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 0,
                "bearbeiten"};
    case Control::optNew:
        return {IDC_OPTNEW, L"BUTTON", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 0,
                "neu erstellen"};
    case Control::CancelButton:
        return {IDC_CANCELBUTTON, L"BUTTON",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, "Abbrechen"};
    case Control::OKButton:
        return {IDC_OKBUTTON, L"BUTTON",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, "OK"};
    case Control::Image1:
        // Drawn by the dialog so the picture stretches over the whole control;
        // SS_NOTIFY brings the double-click and lets the tooltip see the mouse.
        return {IDC_IMAGE1, L"STATIC", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_OWNERDRAW | SS_NOTIFY,
                0, nullptr};
    case Control::LabelnewWorld:
        return {IDC_LABELNEWWORLD, L"STATIC", WS_CHILD | WS_GROUP | SS_LEFT, 0, kLabelText};
    }
    return {0, L"STATIC", WS_CHILD, 0, nullptr};
}

// An in-memory dialog template without controls: the controls are made in
// WM_INITDIALOG, in pixels from the layout table. The private class gives
// the window a name a test driver can look for.
std::vector<WORD> DialogTemplate() {
    std::vector<WORD> words;
    auto dword = [&words](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    auto text = [&words](const wchar_t* value) {
        for (; *value != L'\0'; ++value)
            words.push_back(static_cast<WORD>(*value));
        words.push_back(0);
    };
    dword(kDialogStyle);
    dword(0);           // extended style
    words.push_back(0); // no controls
    words.push_back(0); // x, y, cx, cy: set in WM_INITDIALOG
    words.push_back(0);
    words.push_back(0);
    words.push_back(0);
    words.push_back(0); // no menu
    text(WorldEditDialog::ClassName);
    text(kCaption);
    return words;
}

HICON LoadIconSized(HINSTANCE instance, int sizeMetricX, int sizeMetricY) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_KOLVEK), IMAGE_ICON,
                                           ::GetSystemMetrics(sizeMetricX),
                                           ::GetSystemMetrics(sizeMetricY), LR_SHARED));
}

bool RegisterDialogClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, WorldEditDialog::ClassName, &existing))
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconSized(instance, SM_CXICON, SM_CYICON);
    wc.hIconSm = LoadIconSized(instance, SM_CXSMICON, SM_CYSMICON);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = WorldEditDialog::ClassName;
    return ::RegisterClassExW(&wc) != 0;
}

} // namespace

WorldEditDialog::WorldEditDialog(HINSTANCE instance, Platform& platform)
    : instance_(instance), platform_(platform), form_(platform, view_) {}

bool WorldEditDialog::Create() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    if (!RegisterDialogClass(instance_))
        return false;
    const std::vector<WORD> words = DialogTemplate();
    HWND dialog =
        ::CreateDialogIndirectParamW(instance_, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                     nullptr, Procedure, reinterpret_cast<LPARAM>(this));
    return dialog != nullptr;
}

void WorldEditDialog::Load() {
    Raise(&frmWorldEdit::Form_Load);
}

void WorldEditDialog::Show() {
    HWND dialog = Handle();
    if (dialog == nullptr)
        return;
    ::ShowWindow(dialog, SW_SHOW);
    ::SetForegroundWindow(dialog);
    view_.SetFocus(Control::OKButton);
}

int WorldEditDialog::RunMessages() {
    MSG message;
    BOOL got;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return 1;
        HWND window = Handle();
        if (window != nullptr && ::IsDialogMessageW(window, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

INT_PTR CALLBACK WorldEditDialog::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    WorldEditDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<WorldEditDialog*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<WorldEditDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    }
    if (self == nullptr)
        return FALSE;
    // No exception may unwind through user32's message dispatch: whatever
    // escapes a message ends here, in the generic report.
    // One reference for the handler to capture, which std::function keeps
    // without allocating.
    struct Call {
        WorldEditDialog* self;
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        INT_PTR result;
    } call{self, window, message, wParam, lParam, FALSE};
    try {
        RunEventHandler(self->platform_, [&call] {
            if (call.message == WM_INITDIALOG) {
                // The focus is placed by Show, once the form has loaded.
                call.self->OnInit(call.window);
            } else {
                call.result = call.self->OnMessage(call.message, call.wParam, call.lParam);
            }
        });
    } catch (...) {
        // Not even a std::exception.
        ReportUnhandledError(self->platform_, err::InternalError);
    }
    return call.result;
}

INT_PTR WorldEditDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DRAWITEM:
        return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    default:
        return FALSE;
    }
}

void WorldEditDialog::OnInit(HWND dialog) {
    view_.AttachDialog(dialog);
    ScreenDC screen(::GetDC(nullptr));
    const int dpiX = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);

    ::SendMessageW(dialog, WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(LoadIconSized(instance_, SM_CXICON, SM_CYICON)));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(LoadIconSized(instance_, SM_CXSMICON, SM_CYSMICON)));

    picture_.Reset(static_cast<HBITMAP>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDB_IMAGE1),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    CreateFont(dpiY);
    CreateControls(dpiX, dpiY);
    AddTooltip();
    SizeAndCentre(dpiX, dpiY);
}

void WorldEditDialog::CreateFont(int dpiY) {
    // The platform's default dialog font at 8 points for this display.
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = -::MulDiv(8, dpiY, 72);
    font.lfWidth = 0;
    font_.Reset(::CreateFontIndirectW(&font));
}

void WorldEditDialog::CreateControls(int dpiX, int dpiY) {
    HWND dialog = Handle();
    HGDIOBJ font = font_.Get() != nullptr ? static_cast<HGDIOBJ>(font_.Get())
                                          : ::GetStockObject(DEFAULT_GUI_FONT);
    // Creation order is the z-order, which is the order Tab walks.
    for (Control control : layout::CreationOrder()) {
        const WindowRecipe recipe = RecipeFor(control);
        const layout::Rect rect = layout::DialogPixels(control, dpiX, dpiY);
        const std::wstring text = recipe.text != nullptr ? Widen(recipe.text) : std::wstring();
        HWND window = ::CreateWindowExW(
            recipe.exStyle | WS_EX_NOPARENTNOTIFY, recipe.className,
            recipe.text != nullptr ? text.c_str() : nullptr, recipe.style, rect.left, rect.top,
            rect.width, rect.height, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(recipe.id)), instance_, nullptr);
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        view_.Attach(control, window);
    }
    ::SendMessageW(view_.Window(Control::Armadapath), EM_LIMITTEXT, kPathLimit, 0);
    // Limits typing and pasting; the program's own SetText may go beyond it.
    ::SendMessageW(view_.Window(Control::newWorld), EM_LIMITTEXT, kNameLimit, 0);
    ::SendMessageW(view_.Window(Control::optEdit), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(dialog, DM_SETDEFID, IDC_OKBUTTON, 0);
}

void WorldEditDialog::AddTooltip() {
    // Made when the mouse first moves over the picture: the tooltip's window
    // is a top-level one (under Wine an X window too), some 4 ms of start-up
    // that a start without hovering over the picture never needs.
    ::SetWindowSubclass(view_.Window(Control::Image1), WatchFirstHover, 0,
                        reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK WorldEditDialog::WatchFirstHover(HWND picture, UINT message, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE) {
        ::RemoveWindowSubclass(picture, WatchFirstHover, id);
        try {
            reinterpret_cast<WorldEditDialog*>(self)->CreateTooltip(picture, wParam, lParam);
        } catch (const std::exception&) {
            // Out of memory for the tip's text: the picture goes without it.
        }
    }
    return ::DefSubclassProc(picture, message, wParam, lParam);
}

void WorldEditDialog::CreateTooltip(HWND picture, WPARAM wParam, LPARAM lParam) {
    HWND dialog = Handle();
    // Owned by the dialog, so it goes when the dialog goes.
    HWND tooltip =
        ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance_, nullptr);
    if (tooltip == nullptr)
        return;
    std::wstring text = Widen(kTooltip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(picture);
    tool.lpszText = &text[0];
    ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // The tooltip sees the picture's messages from the next one on; handed
    // this first move as well, it starts its delay now, as it did when it
    // was made with the dialog.
    MSG move{};
    move.hwnd = picture;
    move.message = WM_MOUSEMOVE;
    move.wParam = wParam;
    move.lParam = lParam;
    move.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD position = ::GetMessagePos();
    move.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ::SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void WorldEditDialog::SizeAndCentre(int dpiX, int dpiY) {
    HWND dialog = Handle();
    const layout::Rect client = layout::ClientPixels(dpiX, dpiY);
    RECT frame{0, 0, client.width, client.height};
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WorldEditDialog::OnCommand(int id, int code) {
    switch (id) {
    case IDC_OKBUTTON:
        if (code == BN_CLICKED)
            Raise(&frmWorldEdit::OKButton_Click);
        break;
    case IDC_CANCELBUTTON:
        if (code == BN_CLICKED)
            Raise(&frmWorldEdit::CancelButton_Click);
        break;
    case IDC_OPTNEW:
    case IDC_OPTEDIT:
        // An option raises its click when it is (or becomes) the chosen one,
        // by mouse, by arrow key or by Tab onto it.
        if (code == BN_CLICKED &&
            ::SendMessageW(::GetDlgItem(Handle(), id), BM_GETCHECK, 0, 0) == BST_CHECKED)
            Raise(id == IDC_OPTNEW ? &frmWorldEdit::optNew_Click : &frmWorldEdit::optEdit_Click);
        break;
    case IDC_IMAGE1:
        if (code == STN_DBLCLK)
            Raise(&frmWorldEdit::Image1_DblClick);
        break;
    default:
        break;
    }
}

void WorldEditDialog::OnClose() {
    // The window's close box and Alt+F4: the dialog unloads, as Cancel does,
    // but without Cancel's event.
    view_.Unload();
}

void WorldEditDialog::OnDestroy() {
    view_.Detach();
    ::PostQuitMessage(0);
}

bool WorldEditDialog::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != IDC_IMAGE1)
        return false;
    const RECT& target = item.rcItem;
    if (picture_.Get() == nullptr) {
        ::FillRect(item.hDC, &target, ::GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    BITMAP info{};
    ::GetObjectW(picture_.Get(), sizeof info, &info);
    MemoryDC source(item.hDC, picture_.Get());
    const int oldMode = ::SetStretchBltMode(item.hDC, HALFTONE);
    POINT oldOrigin{};
    ::SetBrushOrgEx(item.hDC, 0, 0, &oldOrigin);
    ::StretchBlt(item.hDC, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, source.Get(), 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
    ::SetBrushOrgEx(item.hDC, oldOrigin.x, oldOrigin.y, nullptr);
    ::SetStretchBltMode(item.hDC, oldMode);
    return true;
}

void WorldEditDialog::Raise(void (frmWorldEdit::*handler)()) {
    RunEventHandler(platform_, [this, handler] { (form_.*handler)(); });
}

} // namespace kolvek

#include "app/Win32DialogView.h"

#include "platform/win32/Win32Text.h"

namespace kolvek {

namespace {

std::size_t Slot(Control control) {
    return static_cast<std::size_t>(control);
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

} // namespace

void Win32DialogView::Attach(Control control, HWND window) {
    windows_[Slot(control)] = window;
}

void Win32DialogView::Detach() {
    dialog_ = nullptr;
    windows_.fill(nullptr);
}

HWND Win32DialogView::Window(Control control) const {
    return windows_[Slot(control)];
}

void Win32DialogView::SetText(Control control, const std::string& text) {
    if (HWND window = Window(control))
        ::SetWindowTextW(window, Widen(text).c_str());
}

std::string Win32DialogView::Text(Control control) const {
    HWND window = Window(control);
    if (window == nullptr)
        return std::string();
    return Narrow(WindowText(window));
}

void Win32DialogView::SetVisible(Control control, bool visible) {
    if (HWND window = Window(control))
        ::ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

void Win32DialogView::SetFocus(Control control) {
    HWND window = Window(control);
    if (window == nullptr || dialog_ == nullptr)
        return;
    // Through the dialog manager, so that the default button follows the focus.
    ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
}

void Win32DialogView::SelectText(Control control, int start, int length) {
    if (HWND window = Window(control))
        ::SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(start),
                       static_cast<LPARAM>(start + length));
}

void Win32DialogView::SetListItems(const std::vector<std::string>& items) {
    HWND list = Window(Control::bznList);
    if (list == nullptr)
        return;
    std::vector<std::wstring> wide;
    wide.reserve(items.size());
    std::size_t characters = 0;
    for (const std::string& item : items) {
        wide.push_back(Widen(item));
        characters += wide.back().size() + 1;
    }
    // The box is not sorted by Windows (the entries come sorted) and does not
    // repaint until all are in: tens of thousands of maps fill in moments.
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    ::SendMessageW(list, LB_INITSTORAGE, static_cast<WPARAM>(wide.size()),
                   static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const std::wstring& entry : wide)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

int Win32DialogView::ListIndex() const {
    HWND list = Window(Control::bznList);
    if (list == nullptr)
        return -1;
    const LRESULT index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32DialogView::SetListIndex(int index) {
    if (HWND list = Window(Control::bznList))
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32DialogView::Unload() {
    if (dialog_ != nullptr)
        ::DestroyWindow(dialog_);
}

} // namespace kolvek

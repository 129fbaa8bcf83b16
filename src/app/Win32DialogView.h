#pragma once
// The dialog's controls as real windows: each Control maps to one child
// window of the dialog. Thin on purpose; the behaviour lives in frmWorldEdit.

#include "platform/DialogView.h"
#include "platform/win32/Win32Api.h"

#include <array>

namespace kolvek {

class Win32DialogView : public DialogView {
public:
    // Records the dialog window and one control's window.
    void AttachDialog(HWND dialog) { dialog_ = dialog; }
    void Attach(Control control, HWND window);
    // Forgets every window; called when the dialog is destroyed. Afterwards
    // every operation does nothing and every query answers empty.
    void Detach();

    HWND Dialog() const { return dialog_; }
    HWND Window(Control control) const;

    void SetText(Control control, const std::string& text) override;
    std::string Text(Control control) const override;
    // The control's own visibility, even while the dialog is still hidden.
    void SetVisible(Control control, bool visible) override;
    void SetFocus(Control control) override;
    void SelectText(Control control, int start, int length) override;
    void SetListItems(const std::vector<std::string>& items) override;
    int ListIndex() const override;
    void SetListIndex(int index) override;
    // Destroys the dialog window; the message loop then ends.
    void Unload() override;

private:
    HWND dialog_ = nullptr;
    std::array<HWND, 10> windows_{};
};

} // namespace kolvek

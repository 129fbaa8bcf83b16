#pragma once
// The dialog's controls as plain state, starting as the dialog is designed.

#include "platform/DialogView.h"

#include <map>
#include <string>
#include <vector>

namespace kolvek::fake {

class FakeDialogView : public DialogView {
public:
    FakeDialogView();

    void SetText(Control control, const std::string& text) override { texts[control] = text; }
    std::string Text(Control control) const override;
    void SetVisible(Control control, bool visible) override { visible_[control] = visible; }
    bool Visible(Control control) const;
    void SetFocus(Control control) override { focus = control; }
    void SelectText(Control control, int start, int length) override;
    void SetListItems(const std::vector<std::string>& items) override;
    int ListIndex() const override { return listIndex; }
    void SetListIndex(int index) override { listIndex = index; }
    void Unload() override { unloaded = true; }

    // Selects the entry with this name; false when it is not listed.
    bool SelectEntry(const std::string& name);

    std::map<Control, std::string> texts;
    std::vector<std::string> listItems;
    int listIndex = -1;
    Control focus = Control::OKButton;
    Control selectionControl = Control::OKButton;
    int selectionStart = -1;
    int selectionLength = -1;
    bool unloaded = false;

private:
    std::map<Control, bool> visible_;
};

} // namespace kolvek::fake

#include "fake/FakeDialogView.h"

#include <algorithm>

namespace kolvek::fake {

FakeDialogView::FakeDialogView() {
    texts[Control::newWorld] = "neue_Welt";
    for (Control c : {Control::Armadapath, Control::newWorld, Control::LabelnewWorld})
        visible_[c] = false;
}

std::string FakeDialogView::Text(Control control) const {
    const auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
}

bool FakeDialogView::Visible(Control control) const {
    const auto it = visible_.find(control);
    return it == visible_.end() ? true : it->second;
}

void FakeDialogView::SelectText(Control control, int start, int length) {
    selectionControl = control;
    selectionStart = start;
    selectionLength = length;
}

void FakeDialogView::SetListItems(const std::vector<std::string>& items) {
    listItems = items;
    listIndex = -1;
}

bool FakeDialogView::SelectEntry(const std::string& name) {
    const auto it = std::find(listItems.begin(), listItems.end(), name);
    if (it == listItems.end())
        return false;
    listIndex = static_cast<int>(it - listItems.begin());
    return true;
}

} // namespace kolvek::fake

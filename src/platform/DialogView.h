#pragma once
// The launcher dialog's controls as the dialog's logic sees them. The Win32
// view maps these onto real controls; the unit tests use a fake.

#include <string>
#include <vector>

namespace kolvek {

enum class Control {
    Armadapath,
    bznList,
    newWorld,
    Frame1,
    optNew,
    optEdit,
    CancelButton,
    OKButton,
    Image1,
    LabelnewWorld,
};

class DialogView {
public:
    virtual ~DialogView() = default;

    virtual void SetText(Control control, const std::string& text) = 0;
    virtual std::string Text(Control control) const = 0;
    virtual void SetVisible(Control control, bool visible) = 0;
    virtual void SetFocus(Control control) = 0;
    virtual void SelectText(Control control, int start, int length) = 0;

    // The map list's entries, already filtered and sorted; the selection is cleared.
    virtual void SetListItems(const std::vector<std::string>& items) = 0;
    // Index of the selected entry, -1 when none is selected.
    virtual int ListIndex() const = 0;
    virtual void SetListIndex(int index) = 0;

    // Closes the dialog; the program ends when its message loop returns.
    virtual void Unload() = 0;
};

} // namespace kolvek

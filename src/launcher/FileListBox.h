#pragma once
// The map list: a folder, the pattern "*.bzn", and the ordinary files of the
// folder whose long names match it and that Windows allows, in the order of
// a sorted list box of the user's locale (letter case aside).

#include "platform/DialogView.h"
#include "platform/FileSystem.h"
#include "platform/TextRules.h"

#include <string>
#include <vector>

namespace kolvek {

class FileListBox {
public:
    FileListBox(FileSystem& files, const TextRules& text, DialogView& view, std::string pattern);

    // Sets the folder and lists it; throws 76 when the folder does not exist.
    void Path(const std::string& folder);
    const std::string& Path() const { return path_; }
    // Lists the folder again, keeping the selected name when it is still there.
    void Refresh();
    // The selected entry's name, empty when nothing is selected.
    std::string SelectedName() const;

private:
    FileSystem& files_;
    const TextRules& text_;
    DialogView& view_;
    std::string pattern_;
    std::string path_;
    std::vector<std::string> items_;
};

} // namespace kolvek

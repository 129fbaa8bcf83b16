#include "launcher/FileListBox.h"

#include "files/TextCase.h"
#include "launcher/MapName.h"

#include <algorithm>

namespace kolvek {

FileListBox::FileListBox(FileSystem& files, DialogView& view, std::string pattern)
    : files_(files), view_(view), pattern_(std::move(pattern)) {}

void FileListBox::Path(const std::string& folder) {
    std::vector<std::string> names = files_.ListFiles(folder);
    // The platform's lookup also matches generated short names (map.bzn2 as
    // MAP~1.BZN); only the long name counts here. Names that Windows forbids
    // (possible under Wine, made on the Linux side) are left out: the
    // launch script could not carry them.
    names.erase(std::remove_if(names.begin(), names.end(),
                               [this](const std::string& name) {
                                   return !MatchesPattern(name, pattern_) ||
                                          !WindowsAllowsName(name);
                               }),
                names.end());
    std::sort(names.begin(), names.end(), NameLess);
    path_ = folder;
    items_ = std::move(names);
    view_.SetListItems(items_);
}

void FileListBox::Refresh() {
    const std::string selected = SelectedName();
    Path(path_);
    const auto found = std::find(items_.begin(), items_.end(), selected);
    if (!selected.empty() && found != items_.end())
        view_.SetListIndex(static_cast<int>(found - items_.begin()));
}

std::string FileListBox::SelectedName() const {
    const int index = view_.ListIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size())
        return std::string();
    return items_[static_cast<std::size_t>(index)];
}

} // namespace kolvek

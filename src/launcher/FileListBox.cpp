#include "launcher/FileListBox.h"

#include "files/FileNames.h"

#include <algorithm>
#include <utility>

namespace kolvek {

FileListBox::FileListBox(FileSystem& files, const TextRules& text, DialogView& view,
                         std::string pattern)
    : files_(files), text_(text), view_(view), pattern_(std::move(pattern)) {}

void FileListBox::Path(const std::string& folder) {
    // The platform's lookup also matches generated short names (map.bzn2 as
    // MAP~1.BZN); only the long name counts here. Names that Windows forbids
    // (possible under Wine, made on the Linux side) are left out: the launch
    // script could not carry them. Each name gets its sort key
    // once, so that the sort compares bytes only: far cheaper than asking the
    // platform about each of the n log n pairs. Names with equal keys (that
    // differ in case only) keep a fixed order.
    std::vector<std::pair<std::string, std::string>> keyed;
    for (std::string& name : files_.ListFiles(folder)) {
        if (text_.MatchesPattern(name, pattern_) && WindowsAllowsName(name))
            keyed.emplace_back(text_.SortKey(name), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> names;
    names.reserve(keyed.size());
    for (auto& entry : keyed)
        names.push_back(std::move(entry.second));
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

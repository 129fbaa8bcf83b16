#include "platform/PathText.h"

namespace kolvek {

namespace {
// "X:\"
constexpr std::size_t kDriveRootLength = 3;
} // namespace

std::string DriveOf(const std::string& path) {
    const bool letter =
        !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return letter && path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

bool StartsWithDriveRoot(const std::string& path) {
    return !DriveOf(path).empty() && path.size() >= kDriveRootLength && path[2] == '\\';
}

bool IsFullPath(const std::string& path) {
    return StartsWithDriveRoot(path) || path.rfind("\\\\", 0) == 0;
}

bool IsDriveRoot(const std::string& path) {
    return path.size() == kDriveRootLength && StartsWithDriveRoot(path);
}

std::string BelowDriveRoot(const std::string& path) {
    return StartsWithDriveRoot(path) ? path.substr(kDriveRootLength) : path;
}

bool HasClosingBackslash(const std::string& path) {
    return !path.empty() && path.back() == '\\';
}

std::string WithClosingBackslash(const std::string& path) {
    return HasClosingBackslash(path) ? path : path + "\\";
}

std::string WithoutClosingBackslash(const std::string& path) {
    if (!HasClosingBackslash(path) || IsDriveRoot(path))
        return path;
    return path.substr(0, path.size() - 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return WithClosingBackslash(folder) + name;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        return std::string();
    return WithoutClosingBackslash(path.substr(0, slash + 1));
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
}

bool LiesIn(const TextRules& text, const std::string& path, const std::string& folder) {
    if (folder.empty())
        return false;
    // As many parts of `path` as `folder` has, so that "C:\Program Files
    // Games" does not pass for "C:\Program Files", whatever bytes a letter's
    // other case takes.
    const std::string within = WithClosingBackslash(folder);
    const std::string candidate = WithClosingBackslash(path);
    std::size_t end = 0;
    for (char c : within) {
        if (c != '\\')
            continue;
        end = candidate.find('\\', end);
        if (end == std::string::npos)
            return false;
        ++end;
    }
    return text.SameIgnoringCase(candidate.substr(0, end), within);
}

} // namespace kolvek

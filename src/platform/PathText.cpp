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
    if (StartsWithDriveRoot(path))
        return true;
    if (path.rfind("\\\\", 0) != 0)
        return false;
    // "\\?\" hands a name to the system past the usual rules, "\\.\" names
    // a device: the shell's file operation does not take them, and the rules
    // here would read "?" or "." as a server and miss the drive behind it.
    const std::vector<std::string> parts = PathParts(path);
    return parts.size() >= 4 && !parts[2].empty() && !parts[3].empty() && parts[2] != "." &&
           parts[2] != "?";
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

std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('\\', start);
        parts.push_back(path.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

bool LiesIn(const TextRules& text, const std::string& path, const std::string& folder) {
    if (folder.empty())
        return false;
    // As many parts of `path` as `folder` has, so that "C:\Program Files
    // Games" does not pass for "C:\Program Files", whatever bytes a letter's
    // other case takes.
    const std::string within = WithClosingBackslash(folder);
    const std::size_t count = PathParts(within).size() - 1;
    const std::vector<std::string> parts = PathParts(WithClosingBackslash(path));
    if (parts.size() <= count)
        return false;
    std::string candidate;
    for (std::size_t i = 0; i < count; ++i)
        candidate += parts[i] + '\\';
    return text.SameIgnoringCase(candidate, within);
}

} // namespace kolvek

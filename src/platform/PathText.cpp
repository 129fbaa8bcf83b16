#include "platform/PathText.h"

namespace kolvek {

bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

std::string WithClosingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\')
        return path;
    return path + "\\";
}

std::string WithoutClosingBackslash(const std::string& path) {
    if (path.empty() || path.back() != '\\' || IsDriveRoot(path))
        return path;
    return path.substr(0, path.size() - 1);
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

} // namespace kolvek

#pragma once
// Stateless helpers for files and folder paths.

#include "platform/Platform.h"

#include <string>

namespace kolvek::USysMdlFileDirHandle {

// True when `path` names an ordinary file (not hidden, system or a folder)
// that a directory lookup reports under the very name that ends `path`
// (letter case aside, as the platform compares names). Traps every lookup
// error: answers false, and shows "Varno SubSystem Error" first unless `quiet`.
bool FileExists(Platform& platform, const std::string& path, bool quiet);

// WithClosingBackslash(`path`), except that "Access", "Work" and "Auto" stay
// as they are.
std::string PathWithBackslash(const std::string& path);

} // namespace kolvek::USysMdlFileDirHandle

#pragma once
// The rules of Windows paths ("C:\dir\name") that both the program's logic
// and the platform apply: their one home.

#include <string>

namespace kolvek {

// True for a drive's root with its backslash, "X:\".
bool IsDriveRoot(const std::string& path);
// `path` with a closing backslash; unchanged when it has one.
std::string WithClosingBackslash(const std::string& path);
// `path` without its closing backslash, except at a drive root, which keeps
// it: "E:" alone names the drive's current folder, not its root.
std::string WithoutClosingBackslash(const std::string& path);
// The folder that holds `path`'s last part, by the same rule ("E:\" for
// "E:\name"); empty when `path` has no backslash.
std::string FolderOf(const std::string& path);
// The last part of `path`, behind its last backslash.
std::string NameOf(const std::string& path);

} // namespace kolvek

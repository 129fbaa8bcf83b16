#pragma once
// The rules of Windows paths ("C:\dir\name") that both the program's logic
// and the platform apply: their one home.

#include "platform/TextRules.h"

#include <string>
#include <vector>

namespace kolvek {

// The drive `path` begins with, "X:" for a letter and a colon; empty when
// it begins with none.
std::string DriveOf(const std::string& path);
// True when `path` begins with a drive's root, "X:\".
bool StartsWithDriveRoot(const std::string& path);
// True when `path` names a place by itself, not relative to the current
// drive or folder: from a drive's root ("X:\...") or a server's share
// ("\\server\share" with or without more, neither name empty). False for
// the device and long-path forms "\\.\..." and "\\?\...".
bool IsFullPath(const std::string& path);
// True for a drive's root with its backslash, "X:\".
bool IsDriveRoot(const std::string& path);
// What follows the drive root `path` begins with ("dir\name" for
// "C:\dir\name", empty for "C:\"); `path` itself when it begins with none.
std::string BelowDriveRoot(const std::string& path);
// True when `path` ends in a backslash.
bool HasClosingBackslash(const std::string& path);
// `path` with a closing backslash; unchanged when it has one.
std::string WithClosingBackslash(const std::string& path);
// `path` without its closing backslash, except at a drive root, which keeps
// it: "E:" alone names the drive's current folder, not its root.
std::string WithoutClosingBackslash(const std::string& path);
// `name` in `folder`, with one backslash between them.
std::string JoinPath(const std::string& folder, const std::string& name);
// The folder that holds `path`'s last part, by the same rule ("E:\" for
// "E:\name"); empty when `path` has no backslash.
std::string FolderOf(const std::string& path);
// The last part of `path`, behind its last backslash.
std::string NameOf(const std::string& path);
// The parts of `path` between its backslashes, empty ones included: "C:",
// "A2" and "" for "C:\A2\"; one empty part for "".
std::vector<std::string> PathParts(const std::string& path);
// True when `path` is `folder` or lies in it, part by part, each compared
// as the file system compares names. False for an empty `folder`.
bool LiesIn(const TextRules& text, const std::string& path, const std::string& folder);

} // namespace kolvek

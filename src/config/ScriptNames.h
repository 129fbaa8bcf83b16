#pragma once
// The game folder and map names as RunA2.bat can carry them. cmd.exe reads
// the script in the console's code page and takes some characters as
// wildcards or syntax; what it reads must name exactly the folder and file
// meant, or the script does not run at all.

#include "platform/Platform.h"

#include <string>

namespace kolvek {

// The error that refuses a launch for `reason`, a German sentence.
RuntimeError LaunchRefusal(std::int32_t number, const std::string& reason);

// True when the console's code page holds `text` exactly, so that what
// cmd.exe reads back is `text` again.
bool ConsoleHolds(const TextCodec& codec, const std::string& text);

// The game folder as lines 1 and 2 of the script give it, with its closing
// backslash: `gameFolder` itself, or written by its short (8.3) names when
// the console cannot hold it. Throws RuntimeError 5 with a German
// description of the reason when cd could not enter exactly that folder (not
// a full path with a drive letter and a closing backslash, a character no
// folder name can hold, no usable short name, too long), and 76 when the
// folder does not exist. A drive root ("E:\") can be entered.
std::string EnterableGameFolder(Platform& platform, const std::string& gameFolder);

// The name by which the game line can hand the map `name` in `folder` to
// the game: the name itself where the console holds it, else the file's
// short name; empty when there is neither. Throws when the lookup of the
// short name fails.
std::string MapNameForScript(Platform& platform, const std::string& folder,
                             const std::string& name);

} // namespace kolvek

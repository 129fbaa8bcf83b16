#pragma once
// Whether a launch can happen, decided before anything is deleted or written
// for it: every check that can refuse a launch of the game is made here.

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace kolvek {

// A launch that can happen: the five lines of the launch script that run it.
struct DecidedLaunch {
    std::vector<std::string> scriptLines;
};

// Decides the launch of the game in `gameFolder` with `argument` ("/edit "
// and a map's name as the script can carry it; empty for a normal start).
// Refuses, with a RuntimeError whose German description gives the reason and
// ends "Das Spiel wird nicht gestartet.", when cd could not enter exactly the
// game folder (5, or 76 when it does not exist), when the folder holds no
// armada2.exe (53: cmd would look for another one along the path), or when
// the argument cannot stand in the script (5). Writes nothing.
DecidedLaunch DecideLaunch(Platform& platform, const std::string& gameFolder,
                           const std::string& argument);

} // namespace kolvek

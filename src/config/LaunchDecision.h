#pragma once
// Whether a launch can happen, decided before anything is deleted or written
// for it: every check that can refuse a launch of the game has its home here.

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace kolvek {

// What the decision answers: the launch script's five lines, or why the
// map's name cannot be handed to the game.
struct LaunchDecision {
    // The lines of RunA2.bat; empty when the map's name is refused.
    std::vector<std::string> scriptLines;
    // The game's argument in line 3: "/edit " and the map's name as the
    // script carries it; empty for a normal start.
    std::string argument;
    // Why the map's name is refused, a German message for the user; empty
    // when the launch can happen.
    std::string nameRefusal;

    bool Refused() const { return !nameRefusal.empty(); }
};

enum class MapKind {
    Existing, // a map the list shows
    New,      // a name the user typed, with its extension
};

// A normal start of the game in `gameFolder`.
LaunchDecision DecideNormalStart(Platform& platform, const std::string& gameFolder);
// An editor start on the map `name` in `mapFolder`. A new name must be one
// that Windows allows and the console can carry; an existing map goes to
// the game by its short name where the console cannot carry its long one.
LaunchDecision DecideEditorStart(Platform& platform, const std::string& gameFolder,
                                 const std::string& mapFolder, const std::string& name,
                                 MapKind kind);

// Both throw a RuntimeError whose German description gives the reason and
// ends "Das Spiel wird nicht gestartet." when the installation refuses the
// launch: when cd could not enter exactly the game folder (5, or 76 when it
// does not exist), or when the folder holds no armada2.exe (53: cmd would
// look for another one along the path). They write nothing.

} // namespace kolvek

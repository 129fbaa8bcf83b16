#pragma once
// The lines of RunA2.bat that depend on the game folder and the argument.
// Batch syntax is escaped so that the script runs only the game: % is doubled
// in lines 2 and 3, and ^ & | < > get a ^ before them in line 3.

#include <string>

namespace kolvek {

// Line 1: the first two characters of the game folder (its drive).
std::string ScriptDriveLine(const std::string& gameFolder);
// Line 2: cd "<game folder without its last character>", or cd "E:\" for a
// drive root. Throws error 5 for an empty game folder.
std::string ScriptFolderLine(const std::string& gameFolder);
// Line 3: "armada2 /nointro" for an empty argument, else "armada2 " + argument.
std::string ScriptGameLine(const std::string& argument);

} // namespace kolvek

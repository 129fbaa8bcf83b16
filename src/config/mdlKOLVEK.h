#pragma once
// The game's installation folder, the settings file, the launch script and
// the edit-mode marker files.

#include "config/LaunchDecision.h"
#include "platform/Platform.h"

#include <string>

namespace kolvek::mdlKOLVEK {

// The game's installation folder, normally ending in "\". Written only while
// the program starts.
extern std::string GameFolder;

// Establishes GameFolder from kolvar.ini, or on a first start from the
// registry (writing kolvar.ini). Traps every error: reports it and answers
// false. Ends the program itself when the first-start registry read fails.
bool InitializeSettings(Platform& platform);
// Sets GameFolder to the registry's install path, or to "ERROR" after
// reporting a failed query. Traps nothing.
void ReadInstallPathFromRegistry(Platform& platform);
// The value part of "key = value" (leading blanks dropped); empty without "=".
std::string IniValue(const std::string& line);
// Writes kolvar.ini's two lines. Traps every error: reports it, answers false.
bool WriteSettingsFile(Platform& platform);

// Rewrites RunA2.bat with the lines of a launch that was decided and not
// refused (LaunchDecision), writes the same lines into a copy for this
// launch alone (ScriptCopies) and returns the copy's full path: the script
// to start. Traps nothing.
std::string WriteLaunchScript(Platform& platform, const LaunchDecision& launch);
// Makes sure the game folder holds the edit-mode marker files. Traps every
// error and answers false, without a message.
bool PrepareEditMode(Platform& platform);

} // namespace kolvek::mdlKOLVEK

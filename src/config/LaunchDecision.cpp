#include "config/LaunchDecision.h"

#include "config/LaunchScript.h"
#include "config/ScriptNames.h"

namespace kolvek {

namespace {

// The game line names the game without a folder; cmd finds it in the folder
// that line 2 enters, and where that holds none, along %PATH%.
const char kGameProgram[] = "armada2.exe";

// `gameFolder` ends in a backslash, as EnterableGameFolder has checked.
void CheckGameProgram(Platform& platform, const std::string& gameFolder) {
    if (!platform.files.IsFile(gameFolder + kGameProgram))
        throw LaunchRefusal(err::FileNotFound,
                            "Im Spielverzeichnis " + gameFolder +
                                " liegt kein armada2.exe. Trage in kolvar.ini bei ArmadaPath den "
                                "Ordner ein, in dem Armada II liegt.");
}

} // namespace

DecidedLaunch DecideLaunch(Platform& platform, const std::string& gameFolder,
                           const std::string& argument) {
    const std::string folder = EnterableGameFolder(platform, gameFolder);
    CheckGameProgram(platform, gameFolder);
    CheckScriptArgument(platform.codec, argument);
    // The last two lines leave the console at the root of the game's drive
    // and on drive C, as the script always has.
    return {{ScriptDriveLine(folder), ScriptFolderLine(folder), ScriptGameLine(argument), "cd \\",
             "c:"}};
}

} // namespace kolvek

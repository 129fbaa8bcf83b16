#include "config/LaunchDecision.h"

#include "config/LaunchScript.h"
#include "config/ScriptNames.h"
#include "files/FileNames.h"
#include "platform/PathText.h"

namespace kolvek {

namespace {

const char kForbiddenText[] =
    "Der Kartenname darf keines dieser Zeichen enthalten: \\ / : * ? \" < > |";
const char kDeviceText[] =
    "Diesen Namen reserviert Windows für ein Gerät. Wähle einen anderen Kartennamen.";
const char kConsoleText[] =
    "Der Kartenname enthält Zeichen, die die Konsole nicht darstellen kann; so lässt er sich "
    "nicht an Armada II übergeben. Wähle einen anderen Kartennamen.";
const char kUnreachableMapText[] =
    "Diese Karte lässt sich nicht an Armada II übergeben: Ihr Name enthält Zeichen, die die "
    "Konsole nicht darstellen kann, und das Laufwerk führt für sie keinen kurzen Namen (8.3). "
    "Benenne die Karte um.";

// The game line names the game without a folder; cmd finds it in the folder
// that line 2 enters, and where that holds none, along %PATH%.
const char kGameProgram[] = "armada2.exe";

// `gameFolder` ends in a backslash, as EnterableGameFolder has checked.
void CheckGameProgram(Platform& platform, const std::string& gameFolder) {
    if (!platform.files.IsFile(JoinPath(gameFolder, kGameProgram)))
        throw LaunchRefusal(err::FileNotFound,
                            "Im Spielverzeichnis " + gameFolder +
                                " liegt kein armada2.exe. Trage in kolvar.ini bei ArmadaPath den "
                                "Ordner ein, in dem Armada II liegt.");
}

LaunchDecision Launch(Platform& platform, const std::string& gameFolder,
                      const std::string& argument) {
    const std::string folder = EnterableGameFolder(platform, gameFolder);
    CheckGameProgram(platform, gameFolder);
    // The last two lines leave the console at the root of the game's drive
    // and on drive C, as the script always has.
    return {{ScriptDriveLine(folder), ScriptFolderLine(folder), ScriptGameLine(argument), "cd \\",
             "c:"},
            argument,
            std::string()};
}

LaunchDecision Refusal(const char* reason) {
    return {{}, std::string(), reason};
}

} // namespace

LaunchDecision DecideNormalStart(Platform& platform, const std::string& gameFolder) {
    return Launch(platform, gameFolder, std::string());
}

LaunchDecision DecideEditorStart(Platform& platform, const std::string& gameFolder,
                                 const std::string& mapFolder, const std::string& name,
                                 MapKind kind) {
    // The line ends, quotes and characters the console would change that
    // could end or bend the game line never get that far.
    if (kind == MapKind::New) {
        if (HasForbiddenCharacter(name))
            return Refusal(kForbiddenText);
        if (IsReservedDeviceName(name))
            return Refusal(kDeviceText);
        if (!ConsoleHolds(platform.codec, name))
            return Refusal(kConsoleText);
        return Launch(platform, gameFolder, "/edit " + name);
    }
    const std::string carried =
        WindowsAllowsName(name) ? MapNameForScript(platform, mapFolder, name) : std::string();
    if (carried.empty())
        return Refusal(kUnreachableMapText);
    return Launch(platform, gameFolder, "/edit " + carried);
}

} // namespace kolvek

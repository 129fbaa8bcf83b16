#include "config/mdlKOLVEK.h"

#include "config/PathLimits.h"
#include "config/ScriptCopies.h"
#include "files/USysMdlFileDirHandle.h"
#include "platform/Utf8Text.h"
#include "registry/WinRegQuery.h"

#include <new>

namespace kolvek::mdlKOLVEK {

using USysMdlFileDirHandle::FileExists;
using USysMdlFileDirHandle::PathWithBackslash;

std::string GameFolder;

namespace {

const char kSettingsName[] = "kolvar.ini";
// Written first and then renamed over kolvar.ini, so that a failed write
// never leaves a half-written settings file that the next start would accept.
const char kSettingsTempName[] = "kolvar.ini.tmp";
const char kScriptName[] = "RunA2.bat";
const char kErrorSentinel[] = "ERROR";

const char kFirstStartText[] =
    "Der Installationspfad von Armada II konnte nicht aus der Windows-Registry ausgelesen "
    "werden. Die Konsole läuft nur auf einem System mit lokal installiertem Armada II. Falls "
    "Armada II doch auf diesem System installiert ist, kannst Du die INI-Datei im "
    "Programmverzeichnis von KOLVEK.EXE manuell erstellen. Hinweise dazu finden sich in der "
    "Readme-Datei.";

std::string ProgramFile(Platform& platform, const char* name) {
    return PathWithBackslash(platform.process.ProgramFolder()) + name;
}

// Any line that starts with "armad" counts, whatever follows ("ArmadaPath",
// "Armada2Path", ...): kolvar.ini files written by hand have always been
// read that way.
bool IsPathLine(Platform& platform, const std::string& line) {
    return platform.text.SameIgnoringCase(LeftCharacters(line, 5), "armad");
}

void CreateEmptyFile(Platform& platform, const std::string& path) {
    platform.files.CreateText(path, CodePage::Ansi)->Close();
}

bool ReadSettingsFile(Platform& platform, const std::string& settingsPath) {
    auto input = platform.files.OpenText(settingsPath);
    std::string line;
    while (input->ReadLine(line)) {
        if (!IsPathLine(platform, line))
            continue;
        // The last path line wins.
        GameFolder = IniValue(line);
        // Longer than any path Windows has: no folder at all, and too much
        // for the controls that show it.
        if (GameFolder.empty() || Utf16Length(GameFolder) > kLongestPath)
            throw RuntimeError(err::BrokenSettingsFile, "Fehlerhafte INI-Datei");
    }
    input->Close();
    return true;
}

void ReportInitializeError(Platform& platform, const RuntimeError& error) {
    if (error.Number() == err::BrokenSettingsFile) {
        platform.ui.ShowMessage("Die KOLVAR.INI-Datei im Pfad " + platform.process.ProgramFolder() +
                                    " ist fehlerhaft. Lösche die Datei und starte das Programm "
                                    "erneut.",
                                mb::Critical, "Fehler");
        return;
    }
    // "Fehler  70": the number keeps the blank of its sign, so these two
    // messages have always shown two blanks after "Fehler".
    platform.ui.ShowMessage("Fehler " + NumberWithSignBlank(error.Number()) +
                                " beim Bearbeiten der INI-Datei. " + error.Description(),
                            mb::Critical, "Initialisierung fehlgeschlagen");
}

} // namespace

bool InitializeSettings(Platform& platform) {
    try {
        try {
            const std::string settingsPath = ProgramFile(platform, kSettingsName);
            if (FileExists(platform, settingsPath, true))
                return ReadSettingsFile(platform, settingsPath);

            ReadInstallPathFromRegistry(platform);
            if (GameFolder == kErrorSentinel) {
                platform.ui.Beep();
                platform.ui.ShowMessage(kFirstStartText, mb::Exclamation,
                                        "Erststart Initialisierungsfehler");
                platform.process.EndProgram();
            }
            return WriteSettingsFile(platform);
        } catch (const std::bad_alloc&) {
            throw RuntimeError(err::OutOfMemory);
        }
    } catch (const RuntimeError& error) {
        ReportInitializeError(platform, error);
        return false;
    }
}

void ReadInstallPathFromRegistry(Platform& platform) {
    WinRegQuery query(platform);
    query.Preset();
    query.QueryRegistryValue();
    if (query.ErrorRuntime() != 0) {
        platform.ui.ShowMessage("Fehler beim Abfragen der Windows Registry. " +
                                    std::to_string(query.ErrorRegQuery()),
                                mb::Critical, "Fehler");
        GameFolder = kErrorSentinel;
        return;
    }
    GameFolder = PathWithBackslash(query.Registry_REG_SZ());
}

std::string IniValue(const std::string& line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos)
        return std::string();
    const std::size_t start = line.find_first_not_of(' ', equals + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
}

bool WriteSettingsFile(Platform& platform) {
    std::string tempPath;
    try {
        const std::string settingsPath = ProgramFile(platform, kSettingsName);
        tempPath = ProgramFile(platform, kSettingsTempName);
        auto output = platform.files.CreateText(tempPath, CodePage::Ansi);
        output->WriteLine("[General]");
        output->WriteLine("ArmadaPath = " + GameFolder);
        output->Close();
        platform.files.MoveOnto(tempPath, settingsPath);
        return true;
    } catch (const RuntimeError& error) {
        if (!tempPath.empty()) {
            try {
                platform.files.RemoveFile(tempPath);
            } catch (const RuntimeError&) {
                // Nothing was created, or it cannot go either; the real file is untouched.
            }
        }
        platform.ui.ShowMessage("Fehler " + NumberWithSignBlank(error.Number()) +
                                    " beim Schreiben der INI-Datei. " + error.Description(),
                                mb::Critical, "Initialisierung fehlgeschlagen");
        return false;
    }
}

std::string WriteLaunchScript(Platform& platform, const LaunchDecision& launch) {
    auto output = platform.files.CreateText(ProgramFile(platform, kScriptName), CodePage::Oem);
    for (const std::string& line : launch.scriptLines)
        output->WriteLine(line);
    output->Close();
    return WriteScriptCopy(platform, launch.scriptLines);
}

bool PrepareEditMode(Platform& platform) {
    try {
        if (FileExists(platform, GameFolder + "ATVI", true))
            return true;
        const std::string unsupported = GameFolder + "unsupportedextension_mapedit";
        if (!FileExists(platform, unsupported, true))
            CreateEmptyFile(platform, unsupported);
        CreateEmptyFile(platform, GameFolder + "ATVI");
        return true;
    } catch (const RuntimeError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace kolvek::mdlKOLVEK

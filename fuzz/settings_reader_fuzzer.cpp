// Arbitrary bytes as kolvar.ini, through the whole start-up path and on into
// the launch script and the edit-mode markers. Nothing may crash, hang or
// leak; the checks below hold for every input.

#include "FuzzChecks.h"

#include "config/LaunchDecision.h"
#include "config/PathLimits.h"
#include "config/ScriptNames.h"
#include "config/mdlKOLVEK.h"
#include "fake/FakeDialogView.h"
#include "fake/FakePlatform.h"
#include "files/USysMdlFileDirHandle.h"
#include "launcher/EventBoundary.h"
#include "launcher/frmWorldEdit.h"
#include "platform/Utf8Text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace kolvek;
using kolvek::mdlKOLVEK::GameFolder;

const char kIni[] = "C:\\KOLVEK\\kolvar.ini";
const char kScript[] = "C:\\KOLVEK\\RunA2.bat";
const char kBrokenText[] = "Die KOLVAR.INI-Datei im Pfad C:\\KOLVEK ist fehlerhaft. Lösche die "
                           "Datei und starte das Programm erneut.";

// Reads the settings file on a later start; returns the result and leaves
// GameFolder set.
bool LaterStart(const std::string& ini, fake::FakePlatform& fp) {
    GameFolder.clear();
    fp.files.AddFile(kIni, ini);
    const bool ok = mdlKOLVEK::InitializeSettings(fp.platform);
    FUZZ_CHECK(fp.registry.openedAccess.empty(), "a later start consulted the registry");
    if (ok) {
        FUZZ_CHECK(fp.ui.boxes.empty(), "a successful start showed a message");
    } else {
        // The only failure reading a present, readable file can have.
        FUZZ_CHECK(fp.ui.boxes.size() == 1, "a failed start showed no or several messages");
        FUZZ_CHECK(fp.ui.boxes[0].prompt == kBrokenText && fp.ui.boxes[0].style == 16 &&
                       fp.ui.boxes[0].title == "Fehler",
                   fp.ui.boxes[0].prompt);
    }
    FUZZ_CHECK(fp.files.Bytes(kIni) == ini, "reading changed the settings file");
    FUZZ_CHECK(fp.process.started.empty(), "start-up started a command");
    return ok;
}

// The first start with the same folder in the registry writes a file that a
// later start reads back to the same folder, as long as the folder survives
// the file's format (no leading blank, no line end, representable in ANSI)
// and its ANSI bytes do not happen to be UTF-8 beyond ASCII (as "Ã¤" is),
// which a file without a byte-order mark is read as.
void CheckFirstStartRoundTrip(const std::string& folder) {
    fake::FakePlatform first;
    const std::string ansi = first.codec.FromUtf8(folder, CodePage::Ansi);
    if (folder.empty() || folder[0] == ' ' || folder.find_first_of("\r") != std::string::npos ||
        first.codec.ToUtf8(ansi, CodePage::Ansi) != folder || ansi.find('\0') != std::string::npos)
        return;
    if (IsWellFormedUtf8(ansi) && CharacterCount(ansi) != ansi.size())
        return;
    GameFolder.clear();
    first.registry.SetString(kHKeyLocalMachine, "SOFTWARE\\Activision\\Star Trek Armada II\\v1.0",
                             "INSTALLPATH", ansi);
    FUZZ_CHECK(mdlKOLVEK::InitializeSettings(first.platform), "first start failed");
    const std::string written = GameFolder;
    FUZZ_CHECK(written == USysMdlFileDirHandle::PathWithBackslash(folder), written);
    FUZZ_CHECK(!first.files.Exists("C:\\KOLVEK\\kolvar.ini.tmp"), "temporary file left behind");

    fake::FakePlatform later;
    GameFolder.clear();
    const bool ok = LaterStart(first.files.Bytes(kIni), later);
    FUZZ_CHECK(ok && GameFolder == written, "read back <" + GameFolder + "> for <" + written + ">");
}

// The launch script for the folder: either refused before anything is
// written, or five lines whose second enters exactly the game folder, a
// full path that the console holds, free of what cd would take as syntax or
// wildcard, and short enough for cmd.exe to start the game from; the copy
// that is started holds the same bytes.
void CheckLaunchScript(const std::string& folder) {
    fake::FakePlatform fp;
    GameFolder = folder;
    const bool fullPath =
        folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\' && folder.back() == '\\';
    if (fullPath)
        fp.files.AddFile(folder + "armada2.exe");
    // A drive root keeps its backslash.
    const std::string cdFolder = !fullPath            ? std::string()
                                 : folder.size() == 3 ? folder
                                                      : folder.substr(0, folder.size() - 1);
    for (const std::string& map : {std::string(), std::string("a&b.bzn")}) {
        std::string copy;
        try {
            copy = mdlKOLVEK::WriteLaunchScript(
                fp.platform, map.empty()
                                 ? DecideNormalStart(fp.platform, GameFolder)
                                 : DecideEditorStart(fp.platform, GameFolder, GameFolder + "bzn",
                                                     map, MapKind::New));
        } catch (const RuntimeError& error) {
            FUZZ_CHECK(error.Number() == err::InvalidArgument ||
                           error.Number() == err::PathNotFound ||
                           error.Number() == err::FileNotFound,
                       "script refused for <" + folder + ">: " + error.Description());
            for (const std::string& path : fp.files.AllPaths())
                FUZZ_CHECK(path.find("RunA2") == std::string::npos, "a refused script was written");
            return;
        }
        FUZZ_CHECK(fullPath, "a script was written for <" + folder + ">");
        FUZZ_CHECK(cdFolder.find_first_of(std::string("\"*?<>|/", 7)) == std::string::npos &&
                       cdFolder.find(':', 2) == std::string::npos,
                   cdFolder);
        for (unsigned char c : cdFolder)
            FUZZ_CHECK(c >= 32, "control character in <" + cdFolder + ">");
        FUZZ_CHECK(ConsoleHolds(fp.codec, cdFolder), cdFolder);
        FUZZ_CHECK(Utf16Length(cdFolder) <= kLongestGameFolder, cdFolder);
        const std::string& bytes = fp.files.Bytes(kScript);
        FUZZ_CHECK(fp.files.Bytes(copy) == bytes, "the started copy differs from RunA2.bat");
        std::vector<std::string> lines;
        FUZZ_CHECK(fuzz::SplitWrittenLines(bytes, lines) && lines.size() == 5, bytes);
        FUZZ_CHECK(lines[0] == folder.substr(0, 2), lines[0]);
        FUZZ_CHECK(lines[1] == "cd \"" + fp.codec.FromUtf8(cdFolder, CodePage::Oem) + "\"" ||
                       cdFolder.find('%') != std::string::npos,
                   lines[1]);
        FUZZ_CHECK(!fuzz::HasLonePercent(lines[1]), lines[1]);
        FUZZ_CHECK(lines[2] == (map.empty() ? "armada2 /nointro" : "armada2 /edit a^&b.bzn"),
                   lines[2]);
        FUZZ_CHECK(lines[3] == "cd \\" && lines[4] == "c:", bytes);
    }
}

// The markers: when PrepareEditMode says yes, "ATVI" is there and empty.
void CheckMarkers(const std::string& folder) {
    fake::FakePlatform fp;
    GameFolder = folder;
    if (!folder.empty() && folder.back() == '\\')
        fp.files.AddFolder(folder);
    if (mdlKOLVEK::PrepareEditMode(fp.platform)) {
        FUZZ_CHECK(fp.files.Exists(folder + "ATVI"), "markers reported but ATVI missing");
        FUZZ_CHECK(fp.files.Bytes(folder + "ATVI").empty(), "ATVI is not empty");
    }
    FUZZ_CHECK(fp.ui.boxes.empty(), "PrepareEditMode showed a message");
}

// The dialog's load on the same file: it ends the program exactly when the
// settings fail or the map folder is missing, and otherwise lists it.
void CheckFormLoad(const std::string& ini, bool settingsOk, const std::string& folder) {
    fake::FakePlatform fp;
    fake::FakeDialogView view;
    GameFolder.clear();
    fp.files.AddFile(kIni, ini);
    const bool haveMaps = settingsOk && !folder.empty() && folder.back() == '\\' &&
                          folder.find_first_of("\r\n") == std::string::npos;
    if (haveMaps)
        fp.files.AddFolder(folder + "bzn");
    frmWorldEdit form(fp.platform, view);
    bool ended = false;
    try {
        RunEventHandler(fp.platform, [&] { form.Form_Load(); });
    } catch (const fake::ProgramEnded&) {
        ended = true;
    }
    if (!settingsOk)
        FUZZ_CHECK(ended, "the program went on after failed settings");
    if (haveMaps) {
        FUZZ_CHECK(!ended, "the program ended although the map folder exists");
        FUZZ_CHECK(view.Text(Control::Armadapath) ==
                       fake::AsciiUpperCase(USysMdlFileDirHandle::PathWithBackslash(folder) +
                                            "armada2.exe"),
                   view.Text(Control::Armadapath));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string ini(reinterpret_cast<const char*>(data), size);
    std::string folder;
    bool ok = false;
    {
        fake::FakePlatform fp;
        ok = LaterStart(ini, fp);
        folder = GameFolder;
    }
    if (ok) {
        CheckFirstStartRoundTrip(folder);
        CheckLaunchScript(folder);
        CheckMarkers(folder);
    }
    CheckFormLoad(ini, ok, folder);
    GameFolder.clear();
    return 0;
}

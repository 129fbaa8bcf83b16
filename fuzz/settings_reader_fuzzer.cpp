// Arbitrary bytes as kolvar.ini, through the whole start-up path and on into
// the launch script and the edit-mode markers. Nothing may crash, hang or
// leak; the checks below hold for every input.

#include "FuzzChecks.h"

#include "config/PathLimits.h"
#include "config/ScriptCopies.h"
#include "config/ScriptNames.h"
#include "config/mdlKOLVEK.h"
#include "fake/FakeDialogView.h"
#include "fake/FakePlatform.h"
#include "files/USysMdlFileDirHandle.h"
#include "launcher/EventBoundary.h"
#include "launcher/frmWorldEdit.h"
#include "platform/PathText.h"
#include "platform/Utf8Text.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
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

// The fake file system's entries by their key (names compare without regard
// to case): whether a folder, and a file's bytes.
using Tree = std::map<std::string, std::pair<bool, std::string>>;

Tree Snapshot(fake::FakeFileSystem& files) {
    Tree tree;
    for (const std::string& path : files.AllPaths()) {
        const fake::FakeFileSystem::Entry& entry = files.At(path);
        tree[fake::AsciiUpperCase(path)] = {entry.folder, entry.bytes};
    }
    return tree;
}

// The keys of the entries added, changed or removed.
std::set<std::string> Changes(const Tree& before, const Tree& after) {
    std::set<std::string> changes;
    for (const auto& [key, entry] : after) {
        const auto it = before.find(key);
        if (it == before.end() || it->second != entry)
            changes.insert(key);
    }
    for (const auto& [key, entry] : before) {
        if (after.count(key) == 0)
            changes.insert(key);
    }
    return changes;
}

// Drops `key` from `changes` when it is an entry that `after` added as `entry`.
void DropAdded(std::set<std::string>& changes, const Tree& before, const Tree& after,
               const std::string& key, const Tree::mapped_type& entry) {
    const auto it = after.find(key);
    if (before.count(key) == 0 && it != after.end() && it->second == entry)
        changes.erase(key);
}

// The report of a launch that the installation refuses (cd could not enter
// exactly the game folder, or it holds no armada2.exe), as the event
// boundary shows it before it ends the program.
bool IsInstallationRefusal(const std::string& box) {
    const std::string end = " Das Spiel wird nicht gestartet.";
    return box.rfind("Laufzeitfehler ", 0) == 0 && box.size() >= end.size() &&
           box.compare(box.size() - end.size(), end.size(), end) == 0;
}

// A whole run of the program on the settings file, launching as the dialog
// does, through the event boundary: the game itself (a double-click on the
// picture), then in a run of its own the editor on a new map typed into the
// name box. Either the installation refuses the launch and the file system
// is as it was, or the launch writes RunA2.bat and one copy, and starts the
// copy: five lines whose second enters exactly the game folder, a full path
// that the console holds, free of what cd would take as syntax or wildcard,
// and short enough for cmd.exe to start the game from.
void CheckLaunchScript(const std::string& ini, const std::string& folder) {
    const bool fullPath =
        folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\' && folder.back() == '\\';
    // A drive root keeps its backslash.
    const std::string cdFolder = !fullPath            ? std::string()
                                 : folder.size() == 3 ? folder
                                                      : folder.substr(0, folder.size() - 1);
    for (const std::string& map : {std::string(), std::string("a&b.bzn")}) {
        fake::FakePlatform fp;
        fake::FakeDialogView view;
        GameFolder.clear();
        fp.files.AddFile(kIni, ini);
        if (fullPath)
            fp.files.AddFile(folder + "armada2.exe");
        fp.files.AddFolder(folder + "bzn");
        const Tree before = Snapshot(fp.files);
        frmWorldEdit form(fp.platform, view);
        bool ended = false;
        try {
            RunEventHandler(fp.platform, [&] { form.Form_Load(); });
            if (map.empty()) {
                RunEventHandler(fp.platform, [&] { form.Image1_DblClick(); });
            } else {
                RunEventHandler(fp.platform, [&] { form.optNew_Click(); });
                view.SetText(Control::newWorld, map);
                RunEventHandler(fp.platform, [&] { form.OKButton_Click(); });
            }
        } catch (const fake::ProgramEnded&) {
            ended = true;
        }
        const Tree after = Snapshot(fp.files);
        std::set<std::string> changes = Changes(before, after);
        // Start-up makes the copies' folder where it is missing, so that
        // later starts find it by its name; it stays empty unless the launch
        // puts its copy there, which then is a change of its own.
        const std::string copies = fake::AsciiUpperCase(fp.process.temporaryFolder + "\\KOLVEK");
        DropAdded(changes, before, after, copies, {true, ""});
        // The dialog prepares the edit mode before it decides the launch, so
        // an editor start may leave the two empty markers where they were
        // missing, whether the launch then goes ahead or not.
        for (const char* marker : {"ATVI", "unsupportedextension_mapedit"}) {
            if (!map.empty())
                DropAdded(changes, before, after, fake::AsciiUpperCase(folder + marker),
                          {false, ""});
        }
        const std::string box = fp.ui.boxes.empty() ? std::string() : fp.ui.boxes.back().prompt;
        if (fp.process.started.empty()) {
            FUZZ_CHECK(fp.ui.boxes.size() == 1, "launch refused for <" + folder + ">: " + box);
            FUZZ_CHECK(ended ? IsInstallationRefusal(box) : fp.ui.boxes[0].title == "Problem", box);
            FUZZ_CHECK(changes.empty(), "a refused launch wrote " + *changes.begin());
            continue;
        }
        const fake::FakeProcess::Started& started = fp.process.started[0];
        const std::string copy = WithClosingBackslash(started.workingFolder) +
                                 started.commandLine.substr(started.commandLine.rfind('\\') + 1);
        const std::string copyFolder = fake::AsciiUpperCase(started.workingFolder);
        FUZZ_CHECK(fp.process.started.size() == 1 && !ended && IsScriptCopyName(NameOf(copy)) &&
                       (copyFolder == copies ||
                        copyFolder == fake::AsciiUpperCase(fp.process.programFolder)),
                   "started " + started.commandLine + " in " + started.workingFolder);
        FUZZ_CHECK(changes.erase(fake::AsciiUpperCase(kScript)) == 1 &&
                       changes.erase(fake::AsciiUpperCase(copy)) == 1 &&
                       before.count(fake::AsciiUpperCase(copy)) == 0 && changes.empty(),
                   "the launch wrote more or less than RunA2.bat and a new copy");
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
        CheckLaunchScript(ini, folder);
        CheckMarkers(folder);
    }
    CheckFormLoad(ini, ok, folder);
    GameFolder.clear();
    return 0;
}

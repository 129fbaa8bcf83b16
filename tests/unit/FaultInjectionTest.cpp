// Every platform call that a path through the program makes is made to fail in
// turn: a clean run records the calls, then one run per call fails exactly
// that one. Each run must end with the message the program prescribes, the
// right result, and nothing half-made left behind: no partial kolvar.ini, no
// started script that was not completely written, no marker reported as made
// when it was not.

#include "config/mdlKOLVEK.h"
#include "fake/FakeDialogView.h"
#include "fake/FakePlatform.h"
#include "fake/FaultyRegistry.h"
#include "launcher/EventBoundary.h"
#include "launcher/frmWorldEdit.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kolvek {
namespace {

using mdlKOLVEK::GameFolder;

const char kIni[] = "C:\\KOLVEK\\kolvar.ini";
const char kIniTemp[] = "C:\\KOLVEK\\kolvar.ini.tmp";
const char kIniBytes[] = "[General]\r\nArmadaPath = C:\\Spiele\\Armada2\\\r\n";
const char kScript[] = "C:\\KOLVEK\\RunA2.bat";
const char kCopies[] = "C:\\Users\\Spieler\\AppData\\Local\\Temp\\KOLVEK";
const char kCopy[] = "C:\\Users\\Spieler\\AppData\\Local\\Temp\\KOLVEK\\RunA2-00000001.bat";
const char kGame[] = "C:\\Spiele\\Armada2\\";
const char kMaps[] = "C:\\Spiele\\Armada2\\bzn";
const char kAlpha[] = "C:\\Spiele\\Armada2\\bzn\\alpha.bzn";
const char kRegistryKey[] = "SOFTWARE\\Activision\\Star Trek Armada II\\v1.0";

// What the injected failures throw or answer.
constexpr std::int32_t kFileFault = err::DeviceIoError;
constexpr std::int32_t kRegistryFault = 5;
constexpr std::int32_t kStartFault = err::FileNotFound;

std::string Script(const std::string& gameLine) {
    return "C:\r\ncd \"C:\\Spiele\\Armada2\"\r\n" + gameLine + "\r\ncd \\\r\nc:\r\n";
}

// One program, its platform and its dialog, with the registry wrapped so that
// its calls can fail too.
struct World {
    World() { GameFolder.clear(); }
    fake::FakePlatform fp;
    fake::FakeDialogView view;
    fake::FaultyRegistry registry{fp.registry};
    Platform platform{fp.files, registry, fp.shell, fp.ui, fp.process, fp.codec, fp.text};
    frmWorldEdit form{platform, view};
    bool settingsResult = false;
    bool ended = false;
};

struct PlatformCall {
    enum Kind { File, Registry, Start, Run } kind = File;
    std::string op;        // "create", "query", ...
    std::string path;      // the file, key or value it named
    int remaining = 0;     // earlier file calls the injected fault must let pass
    std::size_t index = 0; // for registry calls: the index among all registry calls
    std::string Text() const { return op + " " + path; }
};

struct Scenario {
    std::function<void(World&)> arrange; // set-up, never failed
    std::function<void(World&)> act;     // the path whose calls fail in turn
};

void Act(const Scenario& scenario, World& w) {
    try {
        RunEventHandler(w.platform, [&] { scenario.act(w); });
    } catch (const fake::ProgramEnded&) {
        w.ended = true;
    }
}

// The calls that a clean run of the path makes: its file calls in order, then
// its registry calls in order, then the start of the command.
std::vector<PlatformCall> RecordCalls(const Scenario& scenario) {
    World w;
    scenario.arrange(w);
    const std::size_t fileMark = w.fp.files.Calls().size();
    const std::size_t registryMark = w.registry.Calls().size();
    Act(scenario, w);
    EXPECT_FALSE(w.ended) << "the clean run must succeed";

    std::vector<PlatformCall> calls;
    const auto& files = w.fp.files.Calls();
    for (std::size_t i = fileMark; i < files.size(); ++i) {
        PlatformCall call;
        call.op = files[i].substr(0, files[i].find(' '));
        call.path = files[i].substr(call.op.size() + 1);
        for (const PlatformCall& earlier : calls)
            if (earlier.op == call.op && earlier.path.find(call.path) != std::string::npos)
                ++call.remaining;
        calls.push_back(call);
    }
    for (std::size_t i = registryMark; i < w.registry.Calls().size(); ++i) {
        const std::string& text = w.registry.Calls()[i];
        PlatformCall call;
        call.kind = PlatformCall::Registry;
        call.op = text.substr(0, text.find(' '));
        call.path = text.size() > call.op.size() ? text.substr(call.op.size() + 1) : "";
        call.index = i;
        calls.push_back(call);
    }
    if (!w.fp.process.started.empty()) {
        PlatformCall call;
        call.kind = PlatformCall::Start;
        call.op = "start";
        call.path = w.fp.process.started.back().commandLine;
        calls.push_back(call);
        call.kind = PlatformCall::Run;
        call.op = "run";
        calls.push_back(call);
    }
    return calls;
}

std::vector<std::string> Texts(const std::vector<PlatformCall>& calls) {
    std::vector<std::string> texts;
    for (const PlatformCall& call : calls)
        texts.push_back(call.Text());
    return texts;
}

void Inject(World& w, const PlatformCall& call) {
    switch (call.kind) {
    case PlatformCall::File:
        w.fp.files.Fail({call.op, call.path, kFileFault, call.remaining, true});
        break;
    case PlatformCall::Registry:
        w.registry.FailCall(call.index, kRegistryFault);
        break;
    case PlatformCall::Start:
        w.fp.process.startFailure = kStartFault;
        break;
    case PlatformCall::Run:
        w.fp.process.runFailure = kStartFault;
        break;
    }
}

// Runs the path once per recorded call, failing that call, and hands each run
// to `check`.
void FailEachCallInTurn(const Scenario& scenario, const std::vector<PlatformCall>& calls,
                        const std::function<void(World&, const PlatformCall&)>& check) {
    for (const PlatformCall& call : calls) {
        SCOPED_TRACE("failing: " + call.Text());
        World w;
        scenario.arrange(w);
        Inject(w, call);
        Act(scenario, w);
        check(w, call);
    }
}

void ExpectOnlyBox(const World& w, const std::string& prompt, int style, const std::string& title) {
    ASSERT_EQ(w.fp.ui.boxes.size(), 1u);
    EXPECT_EQ(w.fp.ui.boxes[0].prompt, prompt);
    EXPECT_EQ(w.fp.ui.boxes[0].style, style);
    EXPECT_EQ(w.fp.ui.boxes[0].title, title);
}

void ExpectUnhandledError(const World& w, std::int32_t number) {
    EXPECT_TRUE(w.ended);
    ExpectOnlyBox(w,
                  "Laufzeitfehler " + std::to_string(number) + ": " + StandardDescription(number),
                  16, "KOLVEK");
}

bool IsMarker(const std::string& path) {
    return path.find("ATVI") != std::string::npos ||
           path.find("unsupportedextension_mapedit") != std::string::npos;
}

void LoadGame(World& w) {
    w.fp.files.AddFile(kIni, kIniBytes);
    w.fp.files.AddFile(kAlpha, "karte");
    w.fp.files.AddFile(std::string(kGame) + "armada2.exe");
    w.form.Form_Load();
}

// --- Start-up ---------------------------------------------------------------------

Scenario FirstStart() {
    return {[](World& w) {
                w.fp.registry.SetString(kHKeyLocalMachine, kRegistryKey, "INSTALLPATH",
                                        "C:\\Spiele\\Armada2");
            },
            [](World& w) { w.settingsResult = mdlKOLVEK::InitializeSettings(w.platform); }};
}

TEST(FaultInjection, FirstStartNeverLeavesAPartialSettingsFile) {
    const Scenario scenario = FirstStart();
    const auto calls = RecordCalls(scenario);
    ASSERT_EQ(Texts(calls),
              (std::vector<std::string>{
                  "find C:\\KOLVEK\\kolvar.ini", "create C:\\KOLVEK\\kolvar.ini.tmp",
                  "write C:\\KOLVEK\\kolvar.ini.tmp", "write C:\\KOLVEK\\kolvar.ini.tmp",
                  "close C:\\KOLVEK\\kolvar.ini.tmp", "replace C:\\KOLVEK\\kolvar.ini",
                  std::string("open ") + kRegistryKey, "query INSTALLPATH", "query INSTALLPATH",
                  "close "}));

    FailEachCallInTurn(scenario, calls, [](World& w, const PlatformCall& call) {
        EXPECT_FALSE(w.fp.files.Exists(kIniTemp));
        if (call.op == "find" || (call.kind == PlatformCall::Registry && call.op != "query")) {
            // A failed lookup counts as a missing file; a failed close is
            // ignored; an open refused with access denied (5) is followed by
            // a read-only open, which reads the value.
            EXPECT_TRUE(w.settingsResult);
            EXPECT_TRUE(w.fp.ui.boxes.empty());
            EXPECT_EQ(w.fp.files.Bytes(kIni), kIniBytes);
        } else if (call.kind == PlatformCall::Registry) {
            EXPECT_TRUE(w.ended);
            ASSERT_EQ(w.fp.ui.boxes.size(), 2u);
            EXPECT_EQ(w.fp.ui.boxes[0].prompt, "Fehler beim Abfragen der Windows Registry. " +
                                                   std::to_string(kRegistryFault));
            EXPECT_EQ(w.fp.ui.boxes[1].title, "Erststart Initialisierungsfehler");
            EXPECT_FALSE(w.fp.files.Exists(kIni));
        } else {
            EXPECT_FALSE(w.settingsResult);
            ExpectOnlyBox(
                w, "Fehler  57 beim Schreiben der INI-Datei. " + StandardDescription(kFileFault),
                16, "Initialisierung fehlgeschlagen");
            EXPECT_FALSE(w.fp.files.Exists(kIni));
        }
    });
}

TEST(FaultInjection, FirstStartClosesTheRegistryKeyWhenMemoryRunsOutForTheValue) {
    World w;
    FirstStart().arrange(w);
    w.registry.ThrowAtCall(2); // the data query, right after its buffer
    Act(FirstStart(), w);
    EXPECT_EQ(w.registry.Calls(),
              (std::vector<std::string>{std::string("open ") + kRegistryKey, "query INSTALLPATH",
                                        "query INSTALLPATH", "close"}));
    EXPECT_EQ(w.fp.registry.openHandles, 0);
    EXPECT_FALSE(w.settingsResult);
    ExpectOnlyBox(
        w, "Fehler  7 beim Bearbeiten der INI-Datei. " + StandardDescription(err::OutOfMemory), 16,
        "Initialisierung fehlgeschlagen");
    EXPECT_FALSE(w.fp.files.Exists(kIni));
}

TEST(FaultInjection, FailedWriteWhoseLeftoverCannotGoStillLeavesNoSettingsFile) {
    const Scenario scenario = FirstStart();
    for (const PlatformCall& call : RecordCalls(scenario)) {
        if (call.op != "create" && call.op != "write" && call.op != "close" && call.op != "replace")
            continue;
        if (call.kind != PlatformCall::File)
            continue;
        SCOPED_TRACE("failing: " + call.Text());
        World w;
        scenario.arrange(w);
        Inject(w, call);
        w.fp.files.Fail({"remove", "", err::PermissionDenied, 0, false});
        Act(scenario, w);
        EXPECT_FALSE(w.settingsResult);
        EXPECT_FALSE(w.fp.files.Exists(kIni));
        // The report names the write's failure, not the clean-up's.
        ExpectOnlyBox(w,
                      "Fehler  57 beim Schreiben der INI-Datei. " + StandardDescription(kFileFault),
                      16, "Initialisierung fehlgeschlagen");
    }
}

TEST(FaultInjection, LaterStartReportsReadFailuresAndLeavesTheFileAlone) {
    const Scenario scenario{
        [](World& w) { w.fp.files.AddFile(kIni, kIniBytes); },
        [](World& w) { w.settingsResult = mdlKOLVEK::InitializeSettings(w.platform); }};
    const auto calls = RecordCalls(scenario);
    ASSERT_EQ(Texts(calls),
              (std::vector<std::string>{
                  "find C:\\KOLVEK\\kolvar.ini", "open C:\\KOLVEK\\kolvar.ini",
                  "read C:\\KOLVEK\\kolvar.ini", "read C:\\KOLVEK\\kolvar.ini",
                  "read C:\\KOLVEK\\kolvar.ini", "close-input C:\\KOLVEK\\kolvar.ini"}));

    FailEachCallInTurn(scenario, calls, [](World& w, const PlatformCall& call) {
        EXPECT_EQ(w.fp.files.Bytes(kIni), kIniBytes);
        if (call.op == "find") {
            // The file then counts as missing: a first start, and this system
            // has no registry entry.
            EXPECT_TRUE(w.ended);
            ASSERT_EQ(w.fp.ui.boxes.size(), 2u);
            EXPECT_EQ(w.fp.ui.boxes[1].title, "Erststart Initialisierungsfehler");
            return;
        }
        EXPECT_FALSE(w.settingsResult);
        ExpectOnlyBox(
            w, "Fehler  57 beim Bearbeiten der INI-Datei. " + StandardDescription(kFileFault), 16,
            "Initialisierung fehlgeschlagen");
    });
}

TEST(FaultInjection, LoadEndsTheProgramWhenSettingsOrTheMapListingFail) {
    const Scenario scenario{[](World& w) {
                                w.fp.files.AddFile(kIni, kIniBytes);
                                w.fp.files.AddFile(kAlpha, "karte");
                            },
                            [](World& w) { w.form.Form_Load(); }};
    const auto calls = RecordCalls(scenario);
    ASSERT_EQ(calls.size(), 10u);
    EXPECT_EQ(calls[6].Text(), std::string("mkdir ") + kCopies);
    EXPECT_EQ(calls[7].Text(), std::string("list ") + kCopies);
    EXPECT_EQ(calls[8].Text(), std::string("list C:\\KOLVEK"));
    EXPECT_EQ(calls.back().Text(), std::string("list ") + kMaps);

    FailEachCallInTurn(scenario, calls, [](World& w, const PlatformCall& call) {
        if (call.path == kCopies || call.path == w.fp.process.programFolder) {
            // Old script copies that cannot be looked for stay; the load goes on.
            EXPECT_FALSE(w.ended);
            EXPECT_EQ(w.view.listItems, std::vector<std::string>{"alpha.bzn"});
            EXPECT_TRUE(w.fp.ui.boxes.empty());
            return;
        }
        EXPECT_TRUE(w.ended);
        EXPECT_TRUE(w.view.listItems.empty());
        EXPECT_TRUE(w.fp.process.started.empty());
        if (call.op == "list") {
            ExpectUnhandledError(w, kFileFault);
        } else if (call.op != "find") {
            ExpectOnlyBox(
                w, "Fehler  57 beim Bearbeiten der INI-Datei. " + StandardDescription(kFileFault),
                16, "Initialisierung fehlgeschlagen");
        }
    });
}

// --- Launches ---------------------------------------------------------------------

// What every launch path owes whatever failed: a started script is complete,
// and a failure that reached the event boundary started nothing.
// The script copies in the temporary and the program folder.
std::vector<std::string> Copies(World& w) {
    std::vector<std::string> copies;
    for (const std::string& folder : {std::string(kCopies), w.fp.process.programFolder})
        for (const std::string& name : w.fp.files.FolderExists(folder)
                                           ? w.fp.files.ListFiles(folder)
                                           : std::vector<std::string>())
            if (name.rfind("RunA2-", 0) == 0)
                copies.push_back(folder + "\\" + name);
    return copies;
}

void ExpectNoHalfLaunch(World& w, const std::string& gameLine) {
    if (!w.fp.process.started.empty()) {
        EXPECT_FALSE(w.ended);
        EXPECT_EQ(w.fp.files.Bytes(kScript), Script(gameLine));
        // The one copy, wherever it went, is the one started, and complete.
        const auto& started = w.fp.process.started[0];
        const std::vector<std::string> copies = Copies(w);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(started.workingFolder + "\\" +
                      started.commandLine.substr(started.commandLine.rfind('\\') + 1),
                  copies[0]);
        EXPECT_EQ(w.fp.files.Bytes(copies[0]), Script(gameLine));
        EXPECT_EQ(w.fp.process.started.size(), 1u);
    }
    if (w.ended) {
        EXPECT_TRUE(w.fp.process.started.empty());
        // A copy that was begun but not started is not left behind, nor is
        // a command processor that was started but never ran.
        EXPECT_TRUE(Copies(w).empty());
    }
}

// When the temporary folder cannot take the script's copy, the copy goes
// beside RunA2.bat and the launch goes on; true for that call.
bool ExpectCopyBesideRunA2(const World& w, const PlatformCall& call) {
    if ((call.op != "create" || call.path != kCopy) && (call.op != "mkdir" || call.path != kCopies))
        return false;
    EXPECT_FALSE(w.ended);
    EXPECT_TRUE(w.fp.ui.boxes.size() <= 1u); // the overwrite question, if any
    EXPECT_EQ(w.fp.process.started.size(), 1u);
    if (!w.fp.process.started.empty()) {
        EXPECT_EQ(w.fp.process.started[0].workingFolder, w.fp.process.programFolder);
    }
    return true;
}

TEST(FaultInjection, OkWithASelectedMapStartsOnlyACompleteScriptAfterRealMarkers) {
    const Scenario scenario{[](World& w) {
                                LoadGame(w);
                                ASSERT_TRUE(w.view.SelectEntry("alpha.bzn"));
                            },
                            [](World& w) { w.form.OKButton_Click(); }};
    const auto calls = RecordCalls(scenario);
    ASSERT_EQ(calls.size(),
              23u); // 2 lookups, 2 markers, the script, its copy and folder, the start and run
    EXPECT_EQ(calls[2].Text(), std::string("create ") + kGame + "unsupportedextension_mapedit");
    EXPECT_EQ(calls[4].Text(), std::string("create ") + kGame + "ATVI");

    FailEachCallInTurn(scenario, calls, [](World& w, const PlatformCall& call) {
        ExpectNoHalfLaunch(w, "armada2 /edit alpha.bzn");
        if (ExpectCopyBesideRunA2(w, call))
            return;
        if (call.op == "find") {
            // A failed lookup counts as a missing marker, which is then made.
            EXPECT_EQ(w.fp.process.started.size(), 1u);
            EXPECT_TRUE(w.fp.ui.boxes.empty());
        } else if (IsMarker(call.path)) {
            ExpectOnlyBox(w,
                          "Die vorliegende Installation von Armada kann nicht für den "
                          "Edit-Modus benutzt werden.",
                          48, "Problem");
            EXPECT_FALSE(w.ended);
            EXPECT_TRUE(w.fp.process.started.empty());
            EXPECT_FALSE(w.fp.files.Exists(kScript));
        } else {
            ExpectUnhandledError(w, call.kind == PlatformCall::File ? kFileFault : kStartFault);
        }
        if (!w.fp.process.started.empty()) {
            EXPECT_TRUE(w.fp.files.Exists(std::string(kGame) + "ATVI"));
        }
    });
}

TEST(FaultInjection, NewMapThatExistsGoesOnlyTogetherWithALaunchThatHappens) {
    const Scenario scenario{[](World& w) {
                                LoadGame(w);
                                w.fp.files.AddFile(std::string(kGame) + "ATVI");
                                w.form.optNew_Click();
                                w.view.SetText(Control::newWorld, "alpha");
                            },
                            [](World& w) { w.form.OKButton_Click(); }};
    const auto calls = RecordCalls(scenario);
    ASSERT_EQ(calls.size(), 20u);
    EXPECT_EQ(calls[1].Text(), std::string("find ") + kAlpha);
    // The map goes to the Recycle Bin after every write of the launch;
    // cmd.exe, started held before that, runs only after it.
    EXPECT_EQ(calls[17].Text(), std::string("recycle ") + kAlpha);

    FailEachCallInTurn(scenario, calls, [](World& w, const PlatformCall& call) {
        ExpectNoHalfLaunch(w, "armada2 /edit alpha.bzn");
        // Either the launch happened and the map the user agreed to replace
        // is in the Recycle Bin, or the map is still there as it was. The
        // one step after the map went, letting the held cmd.exe run, can
        // fail only with an invalid thread handle of our own; the map is
        // then in the Recycle Bin too.
        const bool asked = !w.fp.ui.boxes.empty();
        if ((w.fp.process.started.empty() && call.op != "run") || !asked) {
            ASSERT_TRUE(w.fp.files.Exists(kAlpha));
            EXPECT_EQ(w.fp.files.Bytes(kAlpha), "karte");
            EXPECT_TRUE(w.fp.shell.recycled.empty());
        } else {
            EXPECT_FALSE(w.fp.files.Exists(kAlpha));
            ASSERT_EQ(w.fp.shell.recycled.size(), 1u);
            EXPECT_EQ(w.fp.shell.recycled[0].bytes, "karte");
        }
        EXPECT_EQ(w.fp.process.endedUnrun, call.op == "recycle" || call.op == "run" ? 1 : 0);
        if (ExpectCopyBesideRunA2(w, call))
            return;
        if (call.op == "find") {
            EXPECT_EQ(w.fp.process.started.size(), 1u);
            if (call.path == kAlpha) {
                // The map then counts as new: no question, nothing deleted.
                EXPECT_TRUE(w.fp.ui.boxes.empty());
                EXPECT_TRUE(w.fp.files.Exists(kAlpha));
            }
            return;
        }
        ASSERT_FALSE(w.fp.ui.boxes.empty());
        EXPECT_EQ(w.fp.ui.boxes[0].title, "Karte zurücksetzen?");
        EXPECT_TRUE(w.ended);
        ASSERT_EQ(w.fp.ui.boxes.size(), 2u);
        const std::int32_t number = call.kind == PlatformCall::File ? kFileFault : kStartFault;
        EXPECT_EQ(w.fp.ui.boxes[1].prompt,
                  "Laufzeitfehler " + std::to_string(number) + ": " + StandardDescription(number));
    });
}

TEST(FaultInjection, DoubleClickStartsNothingWhenTheScriptOrTheStartFails) {
    const Scenario scenario{[](World& w) { LoadGame(w); },
                            [](World& w) { w.form.Image1_DblClick(); }};
    const auto calls = RecordCalls(scenario);
    std::vector<std::string> expected;
    for (const std::string file : {kScript, kCopy}) {
        if (file == kCopy)
            expected.push_back(std::string("mkdir ") + kCopies);
        expected.push_back("create " + file);
        for (int line = 0; line < 5; ++line)
            expected.push_back("write " + file);
        expected.push_back("close " + file);
    }
    expected.push_back("start cmd.exe /d /e:on /v:off /c .\\RunA2-00000001.bat");
    expected.push_back("run cmd.exe /d /e:on /v:off /c .\\RunA2-00000001.bat");
    ASSERT_EQ(Texts(calls), expected);

    FailEachCallInTurn(scenario, calls, [](World& w, const PlatformCall& call) {
        ExpectNoHalfLaunch(w, "armada2 /nointro");
        if (ExpectCopyBesideRunA2(w, call))
            return;
        EXPECT_TRUE(w.fp.process.started.empty());
        ExpectUnhandledError(w, call.kind == PlatformCall::File ? kFileFault : kStartFault);
    });
}

} // namespace
} // namespace kolvek

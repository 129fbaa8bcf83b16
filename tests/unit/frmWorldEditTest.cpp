#include "launcher/frmWorldEdit.h"
#include "config/mdlKOLVEK.h"
#include "fake/FakeDialogView.h"
#include "fake/FakePlatform.h"
#include "launcher/EventBoundary.h"
#include "platform/Utf8Text.h"

#include <gtest/gtest.h>

#include <new>

namespace kolvek {
namespace {

const char kGame[] = "C:\\Spiele\\Armada2\\";
const char kMaps[] = "C:\\Spiele\\Armada2\\bzn";
const char kScript[] = "C:\\KOLVEK\\RunA2.bat";
const char kTemp[] = "C:\\Users\\Spieler\\AppData\\Local\\Temp\\KOLVEK";

class frmWorldEditTest : public ::testing::Test {
protected:
    frmWorldEditTest() : form(fp.platform, view) {
        mdlKOLVEK::GameFolder.clear();
        fp.files.AddFile("C:\\KOLVEK\\kolvar.ini",
                         std::string("[General]\r\nArmadaPath = ") + kGame + "\r\n");
        fp.files.AddFolder(kMaps);
        fp.files.AddFile(std::string(kGame) + "armada2.exe");
    }
    void Load() { form.Form_Load(); }
    std::string GameLine() const {
        const std::string& bytes = fp.files.Bytes(kScript);
        std::size_t start = 0;
        for (int i = 0; i < 2; ++i)
            start = bytes.find("\r\n", start) + 2;
        return fp.codec.ToUtf8(bytes.substr(start, bytes.find("\r\n", start) - start),
                               CodePage::Oem);
    }
    void NewMap(const std::string& name) {
        form.optNew_Click();
        view.SetText(Control::newWorld, name);
        form.OKButton_Click();
    }
    fake::FakePlatform fp;
    fake::FakeDialogView view;
    frmWorldEdit form;
};

TEST_F(frmWorldEditTest, LoadFillsThePathBoxAndListsOnlyOrdinaryMapsSorted) {
    fp.files.AddFile(std::string(kMaps) + "\\zeta.bzn");
    // Byte order would put "Beta" first; the platform's order puts "alpha" first.
    fp.files.AddFile(std::string(kMaps) + "\\alpha.BZN");
    fp.files.AddFile(std::string(kMaps) + "\\Beta.bzn");
    fp.files.AddFile(std::string(kMaps) + "\\notiz.txt");
    fp.files.AddFile(std::string(kMaps) + "\\map.bzn2").shortName = "MAP~1.BZN";
    fp.files.AddFile(std::string(kMaps) + "\\geheim.bzn").hidden = true;
    fp.files.AddFolder(std::string(kMaps) + "\\ordner.bzn");
    Load();
    EXPECT_EQ(view.Text(Control::Armadapath), "C:\\SPIELE\\ARMADA2\\ARMADA2.EXE");
    EXPECT_FALSE(view.Visible(Control::Armadapath));
    EXPECT_TRUE(view.Visible(Control::bznList));
    EXPECT_EQ(view.listItems, (std::vector<std::string>{"alpha.BZN", "Beta.bzn", "zeta.bzn"}));
}

TEST_F(frmWorldEditTest, FailedStartUpEndsTheProgramBeforeTheDialogIsFilled) {
    fp.files.AddFile("C:\\KOLVEK\\kolvar.ini", "ArmadaPath =\r\n");
    EXPECT_THROW(Load(), fake::ProgramEnded);
    EXPECT_EQ(view.Text(Control::Armadapath), "");
    EXPECT_TRUE(view.listItems.empty());
}

TEST_F(frmWorldEditTest, MissingMapFolderIsReportedAsAnUnhandledError) {
    fp.files.AddFile("C:\\KOLVEK\\kolvar.ini", "ArmadaPath = C:\\Leer\\\r\n");
    EXPECT_THROW(RunEventHandler(fp.platform, [&] { Load(); }), fake::ProgramEnded);
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt, "Laufzeitfehler 76: " + StandardDescription(76));
    EXPECT_EQ(fp.ui.boxes[0].style, 16);
    EXPECT_EQ(fp.ui.boxes[0].title, "KOLVEK");
}

TEST_F(frmWorldEditTest, AnyExceptionInAHandlerEndsInTheGenericReport) {
    EXPECT_THROW(RunEventHandler(fp.platform, [] { throw std::bad_alloc(); }), fake::ProgramEnded);
    EXPECT_THROW(RunEventHandler(fp.platform, [] { std::string().substr(1); }), fake::ProgramEnded);
    // No memory left to build the report: the fixed one, and still the end.
    fp.ui.messageFailures = 1;
    EXPECT_THROW(RunEventHandler(fp.platform, [] { throw RuntimeError(53); }), fake::ProgramEnded);
    ASSERT_EQ(fp.ui.boxes.size(), 3u);
    EXPECT_EQ(fp.ui.boxes[0].prompt, "Laufzeitfehler 7: Nicht genügend Speicher");
    EXPECT_EQ(fp.ui.boxes[1].prompt, "Laufzeitfehler 51: Interner Fehler");
    EXPECT_EQ(fp.ui.boxes[1].style, 16);
    EXPECT_EQ(fp.ui.boxes[1].title, "KOLVEK");
    EXPECT_EQ(fp.ui.boxes[2].prompt, "Laufzeitfehler 7: " + StandardDescription(7));
    EXPECT_EQ(fp.ui.boxes[2].title, "KOLVEK");
}

TEST_F(frmWorldEditTest, OptionButtonsSwapTheListAndTheNameBox) {
    Load();
    form.optNew_Click();
    EXPECT_FALSE(view.Visible(Control::bznList));
    EXPECT_TRUE(view.Visible(Control::newWorld));
    EXPECT_TRUE(view.Visible(Control::LabelnewWorld));
    EXPECT_EQ(view.focus, Control::newWorld);
    EXPECT_EQ(view.selectionStart, 0);
    EXPECT_EQ(view.selectionLength, 9);

    form.optEdit_Click();
    EXPECT_TRUE(view.Visible(Control::bznList));
    EXPECT_FALSE(view.Visible(Control::newWorld));
    EXPECT_FALSE(view.Visible(Control::LabelnewWorld));
}

TEST_F(frmWorldEditTest, ChoosingExistingMapsAgainListsMapsMadeMeanwhileKeepingTheSelection) {
    fp.files.AddFile(std::string(kMaps) + "\\b.bzn");
    Load();
    ASSERT_TRUE(view.SelectEntry("b.bzn"));
    form.optNew_Click();
    fp.files.AddFile(std::string(kMaps) + "\\a.bzn");
    form.optEdit_Click();
    EXPECT_EQ(view.listItems, (std::vector<std::string>{"a.bzn", "b.bzn"}));
    EXPECT_EQ(view.listItems[static_cast<std::size_t>(view.listIndex)], "b.bzn");
}

TEST_F(frmWorldEditTest, SelectedMapIsLaunchedMinimizedInTheEditor) {
    fp.files.AddFile(std::string(kMaps) + "\\alpha.bzn");
    Load();
    ASSERT_TRUE(view.SelectEntry("alpha.bzn"));
    form.OKButton_Click();
    EXPECT_EQ(GameLine(), "armada2 /edit alpha.bzn");
    ASSERT_EQ(fp.process.started.size(), 1u);
    // What starts is the launch's own copy of the script.
    EXPECT_EQ(fp.process.started[0].commandLine,
              "cmd.exe /d /e:on /v:off /c .\\RunA2-00000001.bat");
    EXPECT_EQ(fp.files.Bytes(std::string(kTemp) + "\\RunA2-00000001.bat"), fp.files.Bytes(kScript));
    EXPECT_EQ(fp.process.started[0].windowStyle, 2);
    EXPECT_TRUE(fp.files.Exists(std::string(kGame) + "ATVI"));
    EXPECT_FALSE(view.unloaded);
    form.OKButton_Click();
    EXPECT_EQ(fp.process.started.size(), 2u);
}

TEST_F(frmWorldEditTest, OkWithoutSelectionOnlyBeeps) {
    Load();
    form.OKButton_Click();
    EXPECT_EQ(fp.ui.events, std::vector<std::string>{"beep"});
    EXPECT_TRUE(fp.process.started.empty());
    EXPECT_FALSE(fp.files.Exists(kScript));
}

TEST_F(frmWorldEditTest, UnusableInstallationShowsOnlyTheProblemBoxInEitherMode) {
    Load();
    fp.files.At("C:\\Spiele\\Armada2").readOnly = true;
    form.OKButton_Click();
    NewMap("");
    ASSERT_EQ(fp.ui.boxes.size(), 2u);
    for (const auto& box : fp.ui.boxes) {
        EXPECT_EQ(box.prompt, "Die vorliegende Installation von Armada kann nicht für den "
                              "Edit-Modus benutzt werden.");
        EXPECT_EQ(box.style, 48);
        EXPECT_EQ(box.title, "Problem");
    }
    EXPECT_EQ(fp.ui.Beeps(), 0);
    EXPECT_TRUE(fp.process.started.empty());
}

TEST_F(frmWorldEditTest, ProposedNewMapNameGetsTheExtensionAndLaunches) {
    Load();
    form.optNew_Click();
    form.OKButton_Click();
    EXPECT_EQ(view.Text(Control::newWorld), "neue_Welt.bzn");
    EXPECT_EQ(GameLine(), "armada2 /edit neue_Welt.bzn");
    EXPECT_EQ(fp.process.started.size(), 1u);
}

TEST_F(frmWorldEditTest, ExtensionIsAddedUnlessTheNameEndsInBznInAnyCase) {
    Load();
    const struct {
        const char* typed;
        const char* shown;
    } rows[] = {{"alpha", "alpha.bzn"},
                {"ALPHA.BZN", "ALPHA.BZN"},
                {"alpha.txt", "alpha.txt.bzn"},
                {"Höhle", "Höhle.bzn"}};
    for (const auto& row : rows) {
        NewMap(row.typed);
        EXPECT_EQ(view.Text(Control::newWorld), row.shown);
        EXPECT_EQ(GameLine(), std::string("armada2 /edit ") + row.shown);
    }
}

TEST_F(frmWorldEditTest, EmptyNewNameOnlyBeeps) {
    Load();
    NewMap("");
    EXPECT_EQ(fp.ui.Beeps(), 1);
    EXPECT_TRUE(fp.ui.boxes.empty());
    EXPECT_TRUE(fp.process.started.empty());
}

TEST_F(frmWorldEditTest, RefusedNamesBeepExplainAndSelectTheName) {
    Load();
    const std::string blanks = "Ich sagte doch: KEINE LEERSCHLÄGE IM DATEINAMEN!!!";
    const std::string forbidden =
        "Der Kartenname darf keines dieser Zeichen enthalten: \\ / : * ? \" < > |";
    const std::string device =
        "Diesen Namen reserviert Windows für ein Gerät. Wähle einen anderen Kartennamen.";
    const std::string console =
        "Der Kartenname enthält Zeichen, die die Konsole nicht darstellen kann; so lässt er sich "
        "nicht an Armada II übergeben. Wähle einen anderen Kartennamen.";
    const struct {
        std::string name;
        std::string message;
    } rows[] = {
        {"neue Karte", blanks},   {" x", blanks},          {"x ", blanks},
        {"..\\..\\x", forbidden}, {"a/b", forbidden},      {"c:x", forbidden},
        {"a*", forbidden},        {"a?", forbidden},       {"a\"b", forbidden},
        {"a<b", forbidden},       {"a>b", forbidden},      {"a|b", forbidden},
        {"a\tb", forbidden},      {"CON", device},         {"con.bzn", device},
        {"Nul.txt", device},      {"aux", device},         {"PRN", device},
        {"com1", device},         {"LPT9.bzn", device},    {"Com1.x.y", device},
        {"COM0", device},         {"lpt0.bzn", device},    {"COM¹", device},
        {"com².bzn", device},     {"LPT³", device},        {"lpt¹.x", device},
        {"CONIN$", device},       {"conout$.bzn", device}, {"Карта", console},
        {"地图.bzn", console},    {"Œuvre", console},      {"Preis€", console},
    };
    for (const auto& row : rows) {
        fp.ui.events.clear();
        fp.ui.boxes.clear();
        view.focus = Control::OKButton;
        NewMap(row.name);
        ASSERT_EQ(fp.ui.boxes.size(), 1u) << row.name;
        EXPECT_EQ(fp.ui.boxes[0].prompt, row.message) << row.name;
        EXPECT_EQ(fp.ui.boxes[0].style, 48);
        EXPECT_EQ(fp.ui.boxes[0].title, " :-(");
        EXPECT_EQ(fp.ui.events.front(), "beep");
        EXPECT_EQ(view.focus, Control::newWorld);
        EXPECT_EQ(view.selectionStart, 0);
        EXPECT_EQ(view.selectionLength, static_cast<int>(CharacterCount(row.name))) << row.name;
        EXPECT_EQ(view.Text(Control::newWorld), row.name) << "name left as typed";
    }
    EXPECT_TRUE(fp.process.started.empty());
    EXPECT_FALSE(fp.files.Exists(kScript));
}

TEST_F(frmWorldEditTest, NamesThatOnlyLookLikeDevicesAreAccepted) {
    Load();
    // A device takes one digit, superscripts included.
    for (const char* name :
         {"console", "COM10", "LPT00", "xcon", "auxiliar.bzn", "CONIN", "COM²²", "conout"}) {
        NewMap(name);
        EXPECT_TRUE(fp.ui.boxes.empty()) << name;
    }
    EXPECT_EQ(fp.process.started.size(), 8u);
}

TEST_F(frmWorldEditTest, NameTheConsoleCannotHoldIsRefusedBeforeTheOldMapIsTouched) {
    const std::string map = std::string(kMaps) + "\\Карта.bzn";
    fp.files.AddFile(map, "alte Karte");
    Load();
    NewMap("Карта");
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].title, " :-(");
    EXPECT_EQ(fp.files.Bytes(map), "alte Karte");
    EXPECT_FALSE(fp.files.Exists(kScript));
    EXPECT_TRUE(fp.process.started.empty());
}

TEST_F(frmWorldEditTest, ExistingMapTheConsoleCannotHoldGoesToTheGameByItsShortName) {
    fp.files.AddFile(std::string(kMaps) + "\\Карта.bzn").shortName = "____~2GQ.BZN";
    fp.files.AddFile(std::string(kMaps) + "\\Preis€.bzn");
    fp.files.AddFile(std::string(kMaps) + "\\Übung.bzn");
    Load();
    ASSERT_TRUE(view.SelectEntry("Карта.bzn"));
    form.OKButton_Click();
    EXPECT_EQ(GameLine(), "armada2 /edit ____~2GQ.BZN");

    // The console holds the umlaut: the exact name.
    ASSERT_TRUE(view.SelectEntry("Übung.bzn"));
    form.OKButton_Click();
    EXPECT_EQ(GameLine(), "armada2 /edit Übung.bzn");
    EXPECT_EQ(fp.process.started.size(), 2u);

    // No short name: the map cannot be handed over, and the user is told.
    ASSERT_TRUE(view.SelectEntry("Preis€.bzn"));
    form.OKButton_Click();
    EXPECT_EQ(fp.process.started.size(), 2u);
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].title, " :-(");
    EXPECT_EQ(fp.ui.boxes[0].style, 48);
    EXPECT_NE(fp.ui.boxes[0].prompt.find("keinen kurzen Namen"), std::string::npos);
    EXPECT_EQ(fp.ui.Beeps(), 1);
}

TEST_F(frmWorldEditTest, ListLeavesOutNamesWindowsForbids) {
    for (const char* name :
         {"b\nevil2.bzn", "a\"&evil1.bzn", "a|b.bzn", "q?.bzn", "st*r.bzn", "lt<gt>.bzn",
          "co:lon.bzn", "tab\tx.bzn", "CON.bzn", "com1.bzn", "bad\xEF\xBF\xBD.bzn", "gut.bzn"})
        fp.files.AddFile(std::string(kMaps) + "\\" + name);
    Load();
    EXPECT_EQ(view.listItems, std::vector<std::string>{"gut.bzn"});
}

TEST_F(frmWorldEditTest, LoadRemovesScriptCopiesOfEarlierRunsAndTheDialogTheEndedOnes) {
    const std::string leftover = std::string(kTemp) + "\\RunA2-2F-01D9C3F0AB12CD34-1.bat";
    fp.files.AddFile(leftover, "alt");
    fp.files.now += std::chrono::minutes(1);
    {
        frmWorldEdit dialog(fp.platform, view);
        dialog.Form_Load();
        EXPECT_FALSE(fp.files.Exists(leftover));
        dialog.Image1_DblClick();
        dialog.Image1_DblClick();
        fp.process.started[0].End();
    }
    EXPECT_FALSE(fp.files.Exists(std::string(kTemp) + "\\RunA2-00000001.bat"));
    EXPECT_TRUE(fp.files.Exists(std::string(kTemp) + "\\RunA2-00000002.bat"));
}

TEST_F(frmWorldEditTest, ExistingMapIsKeptOnCancelAndRecycledOnlyAfterOk) {
    const std::string map = std::string(kMaps) + "\\alpha.bzn";
    fp.files.AddFile(map, "alte Karte");
    Load();
    fp.ui.answers = {mb::ResultCancel};
    NewMap("alpha");
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt, "Es existiert bereits eine Karte mit diesem Namen. Sie wird "
                                     "gelsöcht, wenn Du weitermachst.");
    EXPECT_EQ(fp.ui.boxes[0].style, 1);
    EXPECT_EQ(fp.ui.boxes[0].title, "Karte zurücksetzen?");
    EXPECT_EQ(fp.files.Bytes(map), "alte Karte");
    EXPECT_EQ(view.Text(Control::newWorld), "alpha.bzn");
    EXPECT_EQ(view.focus, Control::newWorld);
    EXPECT_EQ(view.selectionLength, 9);
    EXPECT_TRUE(fp.process.started.empty());

    fp.ui.answers = {mb::ResultOk};
    // In the Recycle Bin before cmd.exe may run on towards the game line.
    fp.process.onRun = [&](const auto&) {
        ASSERT_EQ(fp.shell.recycled.size(), 1u);
        EXPECT_EQ(fp.shell.recycled[0].path, map);
        EXPECT_EQ(fp.shell.recycled[0].bytes, "alte Karte");
    };
    form.OKButton_Click();
    EXPECT_EQ(fp.ui.boxes.size(), 2u);
    EXPECT_FALSE(fp.files.Exists(map));
    EXPECT_EQ(GameLine(), "armada2 /edit alpha.bzn");
    EXPECT_EQ(fp.process.started.size(), 1u);
}

TEST_F(frmWorldEditTest, RefusedLaunchAsksNothingAndCostsNoMap) {
    const std::string map = std::string(kMaps) + "\\alpha.bzn";
    fp.files.AddFile(map, "alte Karte");
    Load();
    fp.files.RemoveFile(std::string(kGame) + "armada2.exe");
    EXPECT_THROW(RunEventHandler(fp.platform, [&] { NewMap("alpha"); }), fake::ProgramEnded);
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt.rfind("Laufzeitfehler 53: Im Spielverzeichnis " +
                                              std::string(kGame) + " liegt kein armada2.exe.",
                                          0),
              0u)
        << fp.ui.boxes[0].prompt;
    EXPECT_EQ(fp.files.Bytes(map), "alte Karte");
    EXPECT_FALSE(fp.files.Exists(kScript));
    // The picture's normal start is refused the same way.
    EXPECT_THROW(RunEventHandler(fp.platform, [&] { form.Image1_DblClick(); }), fake::ProgramEnded);
    EXPECT_TRUE(fp.process.started.empty());
}

TEST_F(frmWorldEditTest, MapTheShellCannotRecycleIsReportedAndNothingStarts) {
    const std::string map = std::string(kMaps) + "\\alpha.bzn";
    fp.files.AddFile(map, "alt");
    // In use by another program: the shell refuses.
    fp.files.Fail({"recycle", map, err::PermissionDenied});
    Load();
    EXPECT_THROW(RunEventHandler(fp.platform, [&] { NewMap("alpha"); }), fake::ProgramEnded);
    EXPECT_EQ(fp.ui.boxes.back().prompt, "Laufzeitfehler 70: " + StandardDescription(70));
    EXPECT_EQ(fp.files.Bytes(map), "alt");
    EXPECT_TRUE(fp.process.started.empty());
    EXPECT_EQ(fp.process.endedUnrun, 1);
}

TEST_F(frmWorldEditTest, PictureStartsTheGameNormallyWithoutAnyCheck) {
    Load();
    fp.files.At("C:\\Spiele\\Armada2").readOnly = true;
    form.optNew_Click();
    view.SetText(Control::newWorld, "ung ültig");
    form.Image1_DblClick();
    EXPECT_EQ(GameLine(), "armada2 /nointro");
    EXPECT_EQ(fp.process.started.size(), 1u);
    EXPECT_TRUE(fp.ui.events.empty());
    form.optEdit_Click();
    form.Image1_DblClick();
    EXPECT_EQ(fp.process.started.size(), 2u);
}

TEST_F(frmWorldEditTest, ScriptOrStartFailureEndsWithTheGenericReport) {
    Load();
    fp.files.Fail({"create", "RunA2.bat", err::PermissionDenied, 0, true});
    EXPECT_THROW(RunEventHandler(fp.platform, [&] { form.Image1_DblClick(); }), fake::ProgramEnded);
    EXPECT_EQ(fp.ui.boxes.back().prompt, "Laufzeitfehler 70: " + StandardDescription(70));
    EXPECT_TRUE(fp.process.started.empty());

    fp.process.startFailure = err::FileNotFound;
    EXPECT_THROW(RunEventHandler(fp.platform, [&] { form.Image1_DblClick(); }), fake::ProgramEnded);
    EXPECT_EQ(fp.ui.boxes.back().prompt, "Laufzeitfehler 53: " + StandardDescription(53));
}

TEST_F(frmWorldEditTest, CancelUnloadsTheDialog) {
    Load();
    form.CancelButton_Click();
    EXPECT_TRUE(view.unloaded);
    EXPECT_TRUE(fp.process.started.empty());
}

} // namespace
} // namespace kolvek

// Launching the game from the dialog: an existing map, a new map with its
// checks, the overwrite question, the picture's double-click, and what is
// left in the game folder and the program folder afterwards.

#include "E2ESupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {
namespace {

const wchar_t kBlankText[] = L"Ich sagte doch: KEINE LEERSCHLÄGE IM DATEINAMEN!!!";
const wchar_t kForbiddenText[] =
    L"Der Kartenname darf keines dieser Zeichen enthalten: \\ / : * ? \" < > |";
const wchar_t kDeviceText[] =
    L"Diesen Namen reserviert Windows für ein Gerät. Wähle einen anderen Kartennamen.";
const wchar_t kOverwriteText[] =
    L"Es existiert bereits eine Karte mit diesem Namen. Sie wird gelsöcht, wenn Du weitermachst.";
const wchar_t kProblemText[] =
    L"Die vorliegende Installation von Armada kann nicht für den Edit-Modus benutzt werden.";

// How many files in the Recycle Bin hold `bytes`. Under Wine that is the
// desktop's trash, $XDG_DATA_HOME/Trash/files, reached through Z:, the Unix
// root; the test's wrapper points XDG_DATA_HOME at a folder of the prefix's.
int InTrash(const std::string& bytes) {
    wchar_t data[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        ADD_FAILURE() << "no XDG_DATA_HOME of the test's own";
        return -1;
    }
    std::wstring folder = L"Z:" + std::wstring(data) + L"/Trash/files";
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    int count = 0;
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            ReadFileBytes(folder + L"\\" + entry.cFileName) == bytes)
            ++count;
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return count;
}

void ExpectEmptyFile(const std::wstring& path) {
    ASSERT_TRUE(IsFile(path)) << ToUtf8(path);
    EXPECT_EQ("", ReadFileBytes(path)) << ToUtf8(path);
}

// An installation with two maps and a file that is no map, a kolvar.ini
// pointing at it, and the program started with its dialog shown.
class KolvekLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        installation_.AddMap(L"alpha.bzn");
        installation_.AddMap(L"beta.bzn");
        installation_.AddMap(L"notizen.txt");
        installation_.WriteSettingsForGameFolder();
        program_ = std::make_unique<Program>(installation_);
        ASSERT_NE(nullptr, program_->WaitForDialog());
    }

    void ChooseNewMap() {
        program_->Click(kOptNew);
        ASSERT_EQ(program_->Item(kNameBox), program_->Focus());
    }

    // OK with `name` typed over the name box's whole selected text.
    void OkWithName(const std::wstring& name) {
        program_->Type(name);
        ASSERT_EQ(name, program_->Text(kNameBox));
        program_->Click(kOk);
    }

    // The box refusing a new map's name, answered with OK; then the name box
    // has the focus with its whole text selected, and nothing was launched.
    void ExpectRefusal(const std::wstring& name, const std::wstring& text) {
        SCOPED_TRACE(ToUtf8(name));
        MessageBoxView box = program_->WaitForMessageBox();
        EXPECT_EQ(L" :-(", box.title);
        EXPECT_EQ(text, box.text);
        EXPECT_EQ(BoxIcon::Exclamation, box.icon);
        EXPECT_TRUE(box.okButton);
        EXPECT_FALSE(box.cancelButton);
        program_->Answer(box, IDOK);
        program_->Sync();
        EXPECT_EQ(program_->Item(kNameBox), program_->Focus());
        EXPECT_EQ(name, program_->Text(kNameBox));
        EXPECT_EQ(std::make_pair(0, static_cast<int>(name.size())), program_->NameSelection());
        EXPECT_FALSE(IsFile(installation_.ProgramFile(L"RunA2.bat")));
    }

    Installation installation_;
    std::unique_ptr<Program> program_;
};

TEST_F(KolvekLaunch, DialogOpensInEditModeListingOnlyTheMapFiles) {
    EXPECT_EQ((std::vector<std::wstring>{L"alpha.bzn", L"beta.bzn"}), program_->MapListEntries());
    EXPECT_TRUE(program_->IsVisible(kMapList));
    EXPECT_FALSE(program_->IsVisible(kNameBox));
    EXPECT_FALSE(program_->IsVisible(kLabel));
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(program_->Item(kOptEdit), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(program_->Item(kOptNew), BM_GETCHECK, 0, 0));
    EXPECT_EQ(L"neue_Welt", program_->Text(kNameBox));
}

TEST_F(KolvekLaunch, SelectedMapStartsTheGameInItsFolderAndLeavesTheDialogOpen) {
    program_->ClickMap(L"alpha.bzn");
    program_->Click(kOk);

    std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation_, starts[0], L"/edit alpha.bzn");
    EXPECT_EQ(installation_.ScriptBytes(L"armada2 /edit alpha.bzn"),
              ReadFileBytes(installation_.ProgramFile(L"RunA2.bat")));
    ExpectEmptyFile(installation_.GameFile(L"ATVI"));
    ExpectEmptyFile(installation_.GameFile(L"unsupportedextension_mapedit"));
    EXPECT_TRUE(program_->Running());
    EXPECT_TRUE(program_->DialogShown());

    // A second launch rewrites the whole script.
    program_->ClickMap(L"beta.bzn");
    program_->Click(kOk);
    starts = installation_.WaitForGameStarts(2);
    ASSERT_EQ(2u, starts.size());
    ExpectGameStart(installation_, starts[1], L"/edit beta.bzn");
    EXPECT_EQ(installation_.ScriptBytes(L"armada2 /edit beta.bzn"),
              ReadFileBytes(installation_.ProgramFile(L"RunA2.bat")));
}

TEST_F(KolvekLaunch, OkWithoutSelectedMapLaunchesNothingAndShowsNoMessage) {
    program_->Click(kOk);
    EXPECT_FALSE(program_->HasMessageBox());
    EXPECT_FALSE(IsFile(installation_.ProgramFile(L"RunA2.bat")));
    // The game folder was prepared for the edit mode all the same.
    ExpectEmptyFile(installation_.GameFile(L"ATVI"));
    EXPECT_TRUE(program_->Running());
}

TEST_F(KolvekLaunch, NewMapModeShowsTheNameBoxWithTheProposedNameSelected) {
    ChooseNewMap();
    EXPECT_TRUE(program_->IsVisible(kNameBox));
    EXPECT_TRUE(program_->IsVisible(kLabel));
    EXPECT_FALSE(program_->IsVisible(kMapList));
    EXPECT_EQ(std::make_pair(0, 9), program_->NameSelection());

    // Back in edit mode, a map made in the meantime is listed.
    installation_.AddMap(L"gamma.bzn");
    program_->Click(kOptEdit);
    EXPECT_TRUE(program_->IsVisible(kMapList));
    EXPECT_FALSE(program_->IsVisible(kNameBox));
    EXPECT_FALSE(program_->IsVisible(kLabel));
    EXPECT_EQ((std::vector<std::wstring>{L"alpha.bzn", L"beta.bzn", L"gamma.bzn"}),
              program_->MapListEntries());
}

TEST_F(KolvekLaunch, ProposedNewMapNameGetsItsExtensionAndReachesTheGame) {
    ChooseNewMap();
    program_->Click(kOk);

    const std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation_, starts[0], L"/edit neue_Welt.bzn");
    EXPECT_EQ(L"neue_Welt.bzn", program_->Text(kNameBox));
    EXPECT_EQ(installation_.ScriptBytes(L"armada2 /edit neue_Welt.bzn"),
              ReadFileBytes(installation_.ProgramFile(L"RunA2.bat")));
    // The game makes the map; the launcher does not.
    EXPECT_FALSE(IsFile(installation_.MapFile(L"neue_Welt.bzn")));
}

TEST_F(KolvekLaunch, TypedNameKeepsAnExtensionInAnyCaseAndOtherwiseGetsBzn) {
    ChooseNewMap();
    OkWithName(L"ALPHA.BZN");
    // alpha.bzn exists: the lookup ignores the case, so the question comes.
    MessageBoxView question = program_->WaitForMessageBox();
    EXPECT_EQ(L"Karte zurücksetzen?", question.title);
    program_->Answer(question, IDCANCEL);
    program_->Sync();
    EXPECT_EQ(L"ALPHA.BZN", program_->Text(kNameBox));
    EXPECT_TRUE(IsFile(installation_.MapFile(L"alpha.bzn")));
    EXPECT_FALSE(IsFile(installation_.ProgramFile(L"RunA2.bat")));

    OkWithName(L"karte.txt");
    const std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation_, starts[0], L"/edit karte.txt.bzn");
    EXPECT_EQ(L"karte.txt.bzn", program_->Text(kNameBox));
}

TEST_F(KolvekLaunch, EmptyNewMapNameLaunchesNothingAndShowsNoMessage) {
    ChooseNewMap();
    program_->PressKey(VK_DELETE);
    ASSERT_EQ(L"", program_->Text(kNameBox));
    program_->Click(kOk);
    EXPECT_FALSE(program_->HasMessageBox());
    EXPECT_FALSE(IsFile(installation_.ProgramFile(L"RunA2.bat")));
    EXPECT_TRUE(program_->Running());
}

TEST_F(KolvekLaunch, NameWithABlankIsRefusedWithTheNameSelectedForCorrection) {
    ChooseNewMap();
    for (const std::wstring name : {L"neue Karte", L" vorne", L"hinten "}) {
        OkWithName(name);
        ExpectRefusal(name, kBlankText);
    }
}

TEST_F(KolvekLaunch, NameWithACharacterWindowsForbidsIsRefused) {
    ChooseNewMap();
    for (const std::wstring name : {L"..\\alpha", L"a/b", L"c:karte", L"stern*", L"wer?",
                                    L"\"zitat\"", L"<klein>", L"rohr|karte"}) {
        OkWithName(name);
        ExpectRefusal(name, kForbiddenText);
    }
    // A control character cannot be typed, but it can be pasted.
    const std::wstring withTab = L"tab\tkarte";
    ::SendMessageW(program_->Item(kNameBox), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(withTab.c_str()));
    program_->Click(kOk);
    ExpectRefusal(withTab, kForbiddenText);
}

TEST_F(KolvekLaunch, ReservedDeviceNameIsRefusedInAnyCaseAndWithAnyExtension) {
    ChooseNewMap();
    for (const std::wstring name :
         {L"CON", L"prn.bzn", L"Aux", L"nul.txt", L"COM1", L"com9.bzn", L"LPT1", L"lpt9.x.bzn"}) {
        OkWithName(name);
        ExpectRefusal(name, kDeviceText);
    }
    // Only the exact device names are reserved.
    OkWithName(L"COM10");
    const std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation_, starts[0], L"/edit COM10.bzn");
}

TEST_F(KolvekLaunch, ExistingMapIsKeptOnCancelAndRecycledBeforeTheLaunchOnOk) {
    const std::string original = ReadFileBytes(installation_.MapFile(L"alpha.bzn"));
    const int trashed = InTrash(original); // by earlier runs in this prefix
    ChooseNewMap();
    OkWithName(L"alpha");

    MessageBoxView question = program_->WaitForMessageBox();
    EXPECT_EQ(L"Karte zurücksetzen?", question.title);
    EXPECT_EQ(kOverwriteText, question.text);
    EXPECT_EQ(BoxIcon::None, question.icon);
    EXPECT_TRUE(question.okButton);
    EXPECT_TRUE(question.cancelButton);
    program_->Answer(question, IDCANCEL);
    program_->Sync();

    EXPECT_EQ(original, ReadFileBytes(installation_.MapFile(L"alpha.bzn")));
    EXPECT_EQ(trashed, InTrash(original));
    EXPECT_FALSE(IsFile(installation_.ProgramFile(L"RunA2.bat")));
    EXPECT_EQ(L"alpha.bzn", program_->Text(kNameBox));
    EXPECT_EQ(program_->Item(kNameBox), program_->Focus());
    EXPECT_EQ(std::make_pair(0, 9), program_->NameSelection());

    // OK again asks again; this time the answer is OK.
    program_->Click(kOk);
    question = program_->WaitForMessageBox();
    EXPECT_EQ(L"Karte zurücksetzen?", question.title);
    program_->Answer(question, IDOK);

    const std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation_, starts[0], L"/edit alpha.bzn");
    EXPECT_FALSE(IsFile(installation_.MapFile(L"alpha.bzn")));
    EXPECT_EQ(trashed + 1, InTrash(original));
    EXPECT_TRUE(IsFile(installation_.MapFile(L"beta.bzn")));
}

TEST(KolvekNames, NewNameDifferingInCaseBeyondLatin1AsksBeforeReplacingTheMap) {
    Installation installation;
    installation.AddMap(L"\u03A3igma.bzn"); // Σigma.bzn
    installation.WriteSettingsForGameFolder();
    const std::string original = ReadFileBytes(installation.MapFile(L"\u03A3igma.bzn"));
    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());

    program.Click(kOptNew);
    program.Type(L"\u03C3igma"); // σigma
    program.Click(kOk);
    MessageBoxView question = program.WaitForMessageBox();
    EXPECT_EQ(L"Karte zurücksetzen?", question.title);
    EXPECT_EQ(kOverwriteText, question.text);
    program.Answer(question, IDCANCEL);
    program.Sync();
    EXPECT_EQ(original, ReadFileBytes(installation.MapFile(L"\u03A3igma.bzn")));
    EXPECT_FALSE(IsFile(installation.ProgramFile(L"RunA2.bat")));
}

TEST_F(KolvekLaunch, MapInUseEndsTheProgramWithARuntimeErrorReportAndStaysWhereItWas) {
    const std::string original = ReadFileBytes(installation_.MapFile(L"alpha.bzn"));
    // Open in another program that does not share it for deletion.
    HANDLE open = ::CreateFileW(installation_.MapFile(L"alpha.bzn").c_str(), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);
    ChooseNewMap();
    OkWithName(L"alpha");
    program_->Answer(program_->WaitForMessageBox(), IDOK);

    MessageBoxView report = program_->WaitForMessageBox();
    EXPECT_EQ(L"KOLVEK", report.title);
    EXPECT_EQ(L"Laufzeitfehler 70: Zugriff verweigert", report.text);
    EXPECT_EQ(BoxIcon::Critical, report.icon);
    program_->Answer(report, IDOK);

    EXPECT_TRUE(program_->WaitForExit());
    ::CloseHandle(open);
    EXPECT_EQ(original, ReadFileBytes(installation_.MapFile(L"alpha.bzn")));
    EXPECT_TRUE(installation_.GameStarts().empty());
}

TEST_F(KolvekLaunch, BlockedScriptAfterAConfirmedOverwriteKeepsTheMapAndStartsNothing) {
    const std::string original = ReadFileBytes(installation_.MapFile(L"alpha.bzn"));
    // A folder where RunA2.bat goes: the script cannot be written.
    ASSERT_TRUE(::CreateDirectoryW(installation_.ProgramFile(L"RunA2.bat").c_str(), nullptr));
    ChooseNewMap();
    OkWithName(L"alpha");
    program_->Answer(program_->WaitForMessageBox(), IDOK);

    MessageBoxView report = program_->WaitForMessageBox();
    EXPECT_EQ(L"KOLVEK", report.title);
    EXPECT_EQ(L"Laufzeitfehler 75: Fehler beim Zugriff auf Pfad/Datei", report.text);
    program_->Answer(report, IDOK);
    EXPECT_TRUE(program_->WaitForExit());
    EXPECT_EQ(original, ReadFileBytes(installation_.MapFile(L"alpha.bzn")));
    EXPECT_TRUE(installation_.GameStarts().empty());
}

TEST_F(KolvekLaunch, PictureDoubleClickStartsTheGameNormallyInEitherModeWithoutChecks) {
    program_->DoubleClickPicture();
    std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation_, starts[0], L"/nointro");
    EXPECT_EQ(installation_.ScriptBytes(L"armada2 /nointro"),
              ReadFileBytes(installation_.ProgramFile(L"RunA2.bat")));
    // The normal start does not prepare the edit mode.
    EXPECT_FALSE(IsFile(installation_.GameFile(L"ATVI")));

    // New-map mode with a name OK would refuse.
    ChooseNewMap();
    program_->Type(L"a b");
    program_->DoubleClickPicture();
    starts = installation_.WaitForGameStarts(2);
    ASSERT_EQ(2u, starts.size());
    ExpectGameStart(installation_, starts[1], L"/nointro");
    EXPECT_FALSE(program_->HasMessageBox());
    EXPECT_TRUE(program_->DialogShown());
}

TEST_F(KolvekLaunch, ScriptEscapesWhatTheCommandProcessorWouldInterpret) {
    ChooseNewMap();
    OkWithName(L"50%&^mehr");
    const std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation_, starts[0], L"/edit 50%&^mehr.bzn");
    EXPECT_EQ(installation_.ScriptBytes(L"armada2 /edit 50%%^&^^mehr.bzn"),
              ReadFileBytes(installation_.ProgramFile(L"RunA2.bat")));
}

// A game folder in which the marker file ATVI cannot be made (a folder of
// that name is in the way).
class KolvekUnusableInstallation : public ::testing::Test {
protected:
    void SetUp() override {
        installation_.AddMap(L"alpha.bzn");
        MakeFolders(installation_.GameFile(L"ATVI"));
        installation_.WriteSettingsForGameFolder();
        program_ = std::make_unique<Program>(installation_);
        ASSERT_NE(nullptr, program_->WaitForDialog());
    }

    void ExpectProblemBox() {
        MessageBoxView box = program_->WaitForMessageBox();
        EXPECT_EQ(L"Problem", box.title);
        EXPECT_EQ(kProblemText, box.text);
        EXPECT_EQ(BoxIcon::Exclamation, box.icon);
        EXPECT_TRUE(box.okButton);
        EXPECT_FALSE(box.cancelButton);
        program_->Answer(box, IDOK);
        program_->Sync();
        EXPECT_FALSE(program_->HasMessageBox());
        EXPECT_FALSE(IsFile(installation_.ProgramFile(L"RunA2.bat")));
        EXPECT_TRUE(program_->Running());
    }

    Installation installation_;
    std::unique_ptr<Program> program_;
};

TEST_F(KolvekUnusableInstallation, OkShowsTheProblemMessageBeforeAnyOtherCheckInBothModes) {
    // Edit mode with a map selected, and with none.
    program_->ClickMap(L"alpha.bzn");
    program_->Click(kOk);
    ExpectProblemBox();
    // The marker made before the failure stays.
    ExpectEmptyFile(installation_.GameFile(L"unsupportedextension_mapedit"));

    // New-map mode with an empty name: still the problem, not the beep.
    program_->Click(kOptNew);
    program_->PressKey(VK_DELETE);
    program_->Click(kOk);
    ExpectProblemBox();
    // And with a name that would be refused.
    program_->Type(L"mit blank");
    program_->Click(kOk);
    ExpectProblemBox();

    // The normal start needs no markers.
    program_->DoubleClickPicture();
    ASSERT_EQ(1u, installation_.WaitForGameStarts(1).size());
}

// Picks `map` in an installation whose game folder is `gameSubfolder` and
// presses OK: the game starts there on that map, through a script in the OEM
// code page. Answers the script's bytes.
std::string LaunchExistingMap(const std::wstring& gameSubfolder, const std::wstring& map) {
    Installation installation(L"KOLVEK", gameSubfolder);
    installation.AddMap(map);
    installation.WriteSettingsForGameFolder();
    Program program(installation);
    EXPECT_NE(nullptr, program.WaitForDialog());

    program.ClickMap(map);
    program.Click(kOk);

    const std::vector<GameStart> starts = installation.WaitForGameStarts(1);
    EXPECT_EQ(1u, starts.size());
    if (!starts.empty())
        ExpectGameStart(installation, starts[0], L"/edit " + map);
    const std::string script = ReadFileBytes(installation.ProgramFile(L"RunA2.bat"));
    EXPECT_EQ(installation.ScriptBytes(L"armada2 /edit " + map), script);
    return script;
}

TEST(KolvekFolders, GameFolderAndMapWithUmlautsReachTheGame) {
    LaunchExistingMap(L"Übungen", L"Übungskarte.bzn");
}

TEST(KolvekFolders, ProgramFolderWithBlanksWritesItsFilesThereAndStartsTheGame) {
    Installation installation(L"Program Files\\KOLVEK e2e", L"Spiele\\Armada II");
    installation.AddMap(L"alpha.bzn");
    InstallPathValue registry = InstallPathValue::Set(installation.GameFolder());
    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    EXPECT_EQ(installation.SettingsBytes(installation.GameFolder()),
              ReadFileBytes(installation.ProgramFile(L"kolvar.ini")));

    program.ClickMap(L"alpha.bzn");
    program.Click(kOk);

    const std::vector<GameStart> starts = installation.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation, starts[0], L"/edit alpha.bzn");
    EXPECT_EQ(installation.ScriptBytes(L"armada2 /edit alpha.bzn"),
              ReadFileBytes(installation.ProgramFile(L"RunA2.bat")));
}

// Run in the prefix whose locale is de_DE.UTF-8 (build/win32/kolvek-wine-de),
// which has the code pages of a German Windows. Without the generated glibc
// locale Wine still reports those code pages but falls back to a 7-bit Unix
// charset, in which no file name beyond ASCII can be made; so the fixture
// checks both first, and a missing locale fails here instead of later.
class KolvekGermanWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(1252u, ::GetACP()) << "not the ANSI code page of a German Windows";
        ASSERT_EQ(850u, ::GetOEMCP()) << "not the OEM code page of a German Windows: run this "
                                         "in kolvek-wine-de";
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        const std::wstring probe = std::wstring(temp) + L"kolvek \u00D8 probe.txt";
        HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file)
            << "no file name beyond ASCII: is the locale de_DE.UTF-8 generated (scripts/setup.sh)?";
        ::CloseHandle(file);
    }
};

TEST_F(KolvekGermanWindows, GameFolderAndMapBeyondCodePage437StartTheGame) {
    // Ø and ã are in code pages 1252 and 850, not in 437; in 850 they are 9D
    // and C6.
    const std::string script = LaunchExistingMap(L"Spiele\\\u00D8dland", L"S\u00E3opaulo.bzn");
    EXPECT_NE(std::string::npos, script.find("\\\x9D"
                                             "dland\"\r\n"))
        << script;
    EXPECT_NE(std::string::npos, script.find("/edit S\xC6opaulo.bzn\r\n")) << script;
}

TEST_F(KolvekGermanWindows, NewMapNamedBeyondCodePage437StartsTheGame) {
    Installation installation(L"KOLVEK", L"Spiele\\\u00D8dland");
    installation.WriteSettingsForGameFolder();
    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());

    program.Click(kOptNew);
    program.Type(L"S\u00E3opaulo");
    program.Click(kOk);

    const std::vector<GameStart> starts = installation.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation, starts[0], L"/edit S\u00E3opaulo.bzn");
}

} // namespace
} // namespace e2e

// Launches tried as someone would who can name map files (also on the Linux
// side of Wine, where Windows' rules on names do not hold) and write
// kolvar.ini by hand, and as a user with an unusual installation. Decoys
// stand wherever a program other than the game could be run from; none may
// ever run, and nothing outside the map folder may go.

#include "Decoys.h"
#include "E2ESupport.h"
#include "win32/WriteTime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {
namespace {

const wchar_t kConsoleText[] =
    L"Der Kartenname enthält Zeichen, die die Konsole nicht darstellen kann; so lässt er sich "
    L"nicht an Armada II übergeben. Wähle einen anderen Kartennamen.";

// How long the stand-in game keeps running where a test needs it to.
const char kPlayingMs[] = "3000";

// Where KOLVEK.EXE puts the launches' script copies, and the started cmd.exe
// begins.
std::wstring CopyFolder(const Installation& installation) {
    return installation.TempFolder() + L"\\KOLVEK";
}

// Decoys named `name` in each folder that is current for somebody when the
// game folder is not: the program folder, KOLVEK.EXE's own current folder
// (the installation's root), the temporary folder and the copies' folder in
// it.
std::vector<Decoy> DecoysAround(const Installation& installation, const std::wstring& name) {
    MakeFolders(CopyFolder(installation));
    std::vector<Decoy> decoys;
    for (const std::wstring& folder : {installation.ProgramFolder(), installation.Root(),
                                       installation.TempFolder(), CopyFolder(installation)})
        decoys.emplace_back(folder + L"\\" + name);
    return decoys;
}

// The script copies in `folder` (decoys and others may stand beside them).
std::vector<std::wstring> CopiesIn(const std::wstring& folder) {
    std::vector<std::wstring> copies;
    for (const std::wstring& path : FilesBelow(folder)) {
        if (path.compare(folder.size() + 1, 6, L"RunA2-") == 0)
            copies.push_back(path);
    }
    return copies;
}

std::vector<std::wstring> ScriptCopies(const Installation& installation) {
    return CopiesIn(CopyFolder(installation));
}

// The dialog shows, the picture's double-click starts the game normally in
// its folder, and the launch's cmd.exe ends.
void ExpectNormalStart(Program& program, const Installation& installation) {
    ASSERT_NE(nullptr, program.WaitForDialog());
    program.DoubleClickPicture();
    const std::vector<GameStart> starts = installation.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation, starts[0], L"/nointro");
    ASSERT_TRUE(program.WaitForLaunchesToEnd());
}

std::wstring WithoutBackslash(const std::wstring& folder) {
    return folder.substr(0, folder.size() - 1);
}

TEST(KolvekHostile, SecondLaunchWhileTheFirstGameRunsCannotRedirectTheFirstScript) {
    Installation installation;
    installation.AddMap(L"alpha.bzn");
    // The first script's cmd.exe waits after its game line, at the offset of
    // that line's end; a rewritten RunA2.bat would put "evil.bzn" there in
    // round one and "del save.sav armada2.exe x.bzn" in round two.
    installation.AddMap(L"campaign_01del save.sav armada2.exe x.bzn");
    WriteFileBytes(installation.GameFile(L"save.sav"), "Spielstand");
    WriteFileBytes(installation.GameFile(L"armada2.wait"), kPlayingMs);
    std::vector<Decoy> decoys;
    decoys.emplace_back(installation.GameFile(L"evil.bzn.exe"));
    installation.WriteSettingsForGameFolder();
    const FileSnapshot before(installation.Root());

    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    program.ClickMap(L"alpha.bzn");
    program.Click(kOk);
    ASSERT_EQ(1u, installation.WaitForGameStarts(1).size());
    program.Click(kOptNew);
    program.Type(L"campaign_01evil");
    program.Click(kOk);
    ASSERT_EQ(2u, installation.WaitForGameStarts(2).size());
    EXPECT_EQ(2u, ScriptCopies(installation).size()) << "one copy per launch";
    ASSERT_TRUE(program.WaitForLaunchesToEnd(20000));

    program.Click(kOptEdit);
    program.ClickMap(L"alpha.bzn");
    program.Click(kOk);
    ASSERT_EQ(3u, installation.WaitForGameStarts(3).size());
    program.ClickMap(L"campaign_01del save.sav armada2.exe x.bzn");
    program.Click(kOk);
    ASSERT_EQ(4u, installation.WaitForGameStarts(4).size());
    ASSERT_TRUE(program.WaitForLaunchesToEnd(20000));

    const std::vector<GameStart> starts = installation.GameStarts();
    ASSERT_EQ(4u, starts.size());
    ExpectGameStart(installation, starts[0], L"/edit alpha.bzn");
    ExpectGameStart(installation, starts[1], L"/edit campaign_01evil.bzn");
    ExpectGameStart(installation, starts[2], L"/edit alpha.bzn");
    ExpectGameStart(installation, starts[3], L"/edit campaign_01del save.sav armada2.exe x.bzn");
    EXPECT_TRUE(NoDecoyRan(decoys));
    EXPECT_EQ(std::vector<std::wstring>{}, before.DeletedOutside(installation.MapFile(L"")));
    EXPECT_EQ("Spielstand", ReadFileBytes(installation.GameFile(L"save.sav")));
    // RunA2.bat holds the latest launch, as ever.
    EXPECT_EQ(installation.ScriptBytes(L"armada2 /edit campaign_01del save.sav armada2.exe x.bzn"),
              ReadFileBytes(installation.ProgramFile(L"RunA2.bat")));

    // Every cmd.exe has ended: the copies go with the program.
    program.Click(kCancel);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(std::vector<std::wstring>{}, ScriptCopies(installation));
}

TEST(KolvekHostile, CopyOfAGameStillRunningAtTheEndGoesAtAStartAMinuteLater) {
    Installation installation;
    WriteFileBytes(installation.GameFile(L"armada2.wait"), kPlayingMs);
    installation.WriteSettingsForGameFolder();
    {
        Program program(installation);
        ASSERT_NE(nullptr, program.WaitForDialog());
        program.DoubleClickPicture();
        ASSERT_EQ(1u, installation.WaitForGameStarts(1).size());
        program.Click(kCancel);
        ASSERT_TRUE(program.WaitForExit());
        // Its cmd.exe still waits for the game: the copy stays.
        EXPECT_EQ(1u, ScriptCopies(installation).size());
        ASSERT_TRUE(program.WaitForLaunchesToEnd(20000));
    }
    for (const std::wstring& copy : ScriptCopies(installation))
        EXPECT_TRUE(kolvek::wintest::SetWrittenSecondsAgo(copy.c_str(), 61));
    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    EXPECT_EQ(std::vector<std::wstring>{}, ScriptCopies(installation));
}

TEST(KolvekHostile, CmdComesFromTheSystemFolderAndExpandsNoFolderName) {
    Installation installation(L"Tools %OS%\\KOLVEK");
    // What would run were %COMSPEC% taken, or %OS% expanded in a path on
    // cmd's command line.
    Decoy comspec(installation.Root() + L"\\pwn.exe");
    const std::wstring expanded = installation.Root() + L"\\Tools Windows_NT\\KOLVEK";
    MakeFolders(expanded);
    WriteFileBytes(expanded + L"\\RunA2.bat", "@echo expanded> \"" +
                                                  Encode(installation.Root(), CP_OEMCP) +
                                                  "\\expanded.txt\"\r\n");
    const std::wstring temp = installation.Root() + L"\\Temp %OS% & \u0416";
    MakeFolders(temp);
    installation.WriteSettingsForGameFolder();

    Program program(installation, {{L"COMSPEC", comspec.Path()}, {L"TMP", temp}, {L"TEMP", temp}});
    ExpectNormalStart(program, installation);
    EXPECT_FALSE(comspec.Ran());
    EXPECT_FALSE(IsFile(installation.Root() + L"\\expanded.txt"));
}

TEST(KolvekHostile, WithoutATemporaryFolderTheCopyGoesBesideRunA2) {
    Installation installation;
    installation.WriteSettingsForGameFolder();
    const std::wstring missing = installation.Root() + L"\\Gibt es nicht";
    Program program(installation, {{L"TMP", missing}, {L"TEMP", missing}});
    ExpectNormalStart(program, installation);
    EXPECT_EQ(1u, CopiesIn(installation.ProgramFolder()).size());
    program.Click(kCancel);
    ASSERT_TRUE(program.WaitForExit());
    // Its cmd.exe had ended: the copy went with the program.
    EXPECT_EQ(std::vector<std::wstring>{}, CopiesIn(installation.ProgramFolder()));
    EXPECT_TRUE(IsFile(installation.ProgramFile(L"RunA2.bat")));
}

// kolvar.ini pointing at a folder that cd cannot enter exactly: the picture's
// double-click ends in the generic report with the reason, and nothing runs.
struct RefusedFolder {
    const char* what;
    std::wstring gameSubfolder;
    std::size_t gameFolderLength; // instead of the subfolder, when not 0
    // The value of the path line, from the installation's game folder.
    std::wstring (*value)(const Installation&);
    std::wstring decoyName;
    const wchar_t* reason;
};

void ExpectRefusedLaunch(const RefusedFolder& row) {
    SCOPED_TRACE(row.what);
    const std::unique_ptr<Installation> made =
        row.gameFolderLength != 0 ? std::make_unique<Installation>(L"KOLVEK", row.gameFolderLength)
                                  : std::make_unique<Installation>(L"KOLVEK", row.gameSubfolder);
    Installation& installation = *made;
    WriteFileBytes(installation.MapFile(L"alpha.bzn"), "Karte");
    std::vector<Decoy> decoys = DecoysAround(installation, row.decoyName);
    decoys.emplace_back(installation.GameFile(row.decoyName));
    std::unique_ptr<Decoy> atTheDriveRoot;
    if (row.decoyName == L"Sp.exe")
        atTheDriveRoot = std::make_unique<Decoy>(installation.Root().substr(0, 3) + L"Sp.exe");
    installation.WriteSettings(
        "[General]\r\nArmadaPath = " + Encode(row.value(installation), CP_ACP) + "\r\n");
    const FileSnapshot before(installation.Root());

    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    program.DoubleClickPicture();
    MessageBoxView report = program.WaitForMessageBox();
    EXPECT_EQ(L"KOLVEK", report.title);
    EXPECT_EQ(0u, report.text.rfind(L"Laufzeitfehler 5: ", 0)) << ToUtf8(report.text);
    EXPECT_NE(std::wstring::npos, report.text.find(row.reason)) << ToUtf8(report.text);
    EXPECT_NE(std::wstring::npos, report.text.find(L"Das Spiel wird nicht gestartet."));
    program.Answer(report, IDOK);
    EXPECT_TRUE(program.WaitForExit());

    EXPECT_TRUE(installation.GameStarts().empty());
    EXPECT_TRUE(NoDecoyRan(decoys));
    EXPECT_FALSE(atTheDriveRoot && atTheDriveRoot->Ran());
    EXPECT_FALSE(IsFile(installation.ProgramFile(L"RunA2.bat")));
    EXPECT_EQ(std::vector<std::wstring>{}, ScriptCopies(installation));
    EXPECT_EQ(std::vector<std::wstring>{}, before.DeletedOutside(installation.MapFile(L"")));
}

TEST(KolvekHostile, FolderWithAQuoteOrLineFeedRelativeOrTooLongIsNotLaunched) {
    const RefusedFolder rows[] = {
        {"a double quote", L"Armada2", 0,
         [](const Installation& i) { return i.GameFolder() + L"\" & pwn & \"\\..\\"; }, L"pwn.exe",
         L"nicht stehen darf"},
        {"a line feed", L"Armada2", 0,
         [](const Installation& i) { return i.GameFolder() + L"\npwn\\..\\"; }, L"pwn.exe",
         L"nicht stehen darf"},
        {"a relative folder", L"Spiele\\Armada II", 0,
         [](const Installation&) { return std::wstring(L"Spiele\\Armada II\\"); }, L"Sp.exe",
         L"kein vollständiger Pfad"},
        // cmd would run armada2 from its current folder after the failed cd.
        {"248 characters", L"", 248, [](const Installation& i) { return i.GameFolder(); },
         L"armada2.exe", L"248 Zeichen"},
    };
    for (const RefusedFolder& row : rows)
        ExpectRefusedLaunch(row);
}

TEST(KolvekHostile, FolderOf247CharactersIsTheLongestThatStartsTheGame) {
    Installation installation(L"KOLVEK", std::size_t{247});
    ASSERT_EQ(248u, installation.GameFolder().size());
    installation.WriteSettingsForGameFolder();
    // Copies of the game where cmd would find one after a failed cd.
    const std::vector<Decoy> decoys = DecoysAround(installation, L"armada2.exe");

    Program program(installation);
    ExpectNormalStart(program, installation);
    EXPECT_TRUE(NoDecoyRan(decoys));
}

TEST(KolvekHostile, FolderTheConsoleCannotHoldIsEnteredByItsShortNameNotByAWildcard) {
    const struct {
        const wchar_t* game;
        std::vector<std::wstring> lookalikes; // what "?" in place of a letter would match
    } rows[] = {
        {L"\u0410\u0440\u043C\u0430\u0434\u0430", // Армада
         {L"Demo01", L"Demo02", L"Demo03", L"Demo04", L"Demo05", L"Demo06", L"Demo07", L"Demo08",
          L"Demo09", L"Demo10", L"Demo11", L"Demo12", L"______"}},
        {L"Armada\u2122 \u0152uvre", {L"Armada0 0uvre"}}, // Armada™ Œuvre
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.game));
        Installation installation(L"KOLVEK", row.game);
        installation.AddMap(L"alpha.bzn");
        std::vector<Decoy> decoys;
        for (const std::wstring& lookalike : row.lookalikes) {
            MakeFolders(installation.Root() + L"\\" + lookalike);
            decoys.emplace_back(installation.Root() + L"\\" + lookalike + L"\\armada2.exe");
        }
        // Written by hand in UTF-8, which the ANSI code page cannot replace.
        installation.WriteSettings(
            "\xEF\xBB\xBF[General]\r\nArmadaPath = " + ToUtf8(installation.GameFolder()) + "\r\n");

        Program program(installation);
        ASSERT_NE(nullptr, program.WaitForDialog());
        program.ClickMap(L"alpha.bzn");
        program.Click(kOk);
        const std::vector<GameStart> starts = installation.WaitForGameStarts(1);
        ASSERT_EQ(1u, starts.size());
        ExpectGameStart(installation, starts[0], L"/edit alpha.bzn");
        wchar_t shortFolder[MAX_PATH] = {};
        const DWORD length = ::GetShortPathNameW(
            WithoutBackslash(installation.GameFolder()).c_str(), shortFolder, MAX_PATH);
        ASSERT_GT(length, 0u);
        EXPECT_EQ(Installation::ScriptBytesFor(std::wstring(shortFolder, length) + L"\\",
                                               L"armada2 /edit alpha.bzn"),
                  ReadFileBytes(installation.ProgramFile(L"RunA2.bat")));
        ASSERT_TRUE(program.WaitForLaunchesToEnd());
        EXPECT_TRUE(NoDecoyRan(decoys));
    }
}

TEST(KolvekHostile, MapsTheConsoleCannotHoldReachTheGameByTheirShortNames) {
    Installation installation;
    const std::vector<std::wstring> maps = {L"\u041A\u0430\u0440\u0442\u0430.bzn", // Карта
                                            L"\u5730\u56FE.bzn",                   // 地图
                                            L"\u0152uvre.bzn", L"Preis\u20AC.bzn"};
    for (const std::wstring& map : maps)
        installation.AddMap(map);
    installation.WriteSettingsForGameFolder();
    const FileSnapshot before(installation.Root());

    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    for (std::size_t i = 0; i < maps.size(); ++i) {
        SCOPED_TRACE(ToUtf8(maps[i]));
        program.ClickMap(maps[i]);
        program.Click(kOk);
        const std::vector<GameStart> starts = installation.WaitForGameStarts(i + 1);
        ASSERT_EQ(i + 1, starts.size());
        const std::wstring arguments = starts[i].Arguments();
        ASSERT_EQ(0u, arguments.rfind(L"/edit ", 0)) << ToUtf8(arguments);
        const std::wstring name = arguments.substr(6);
        EXPECT_EQ(std::wstring::npos, name.find_first_of(L"?*")) << ToUtf8(name);
        // The name the game got names the very map that was picked.
        EXPECT_EQ(installation.MapFile(maps[i]), LongPath(installation.MapFile(name)));
    }

    // A typed name the console cannot hold is refused before anything happens.
    program.Click(kOptNew);
    program.Type(L"\u041A\u0430\u0440\u0442\u0430");
    program.Click(kOk);
    MessageBoxView box = program.WaitForMessageBox();
    EXPECT_EQ(L" :-(", box.title);
    EXPECT_EQ(kConsoleText, box.text);
    program.Answer(box, IDOK);
    program.Sync();
    // Counted once every cmd.exe has ended, so a wrong late start shows.
    ASSERT_TRUE(program.WaitForLaunchesToEnd());
    EXPECT_EQ(maps.size(), installation.GameStarts().size());
    EXPECT_EQ(std::vector<std::wstring>{}, before.DeletedOutside(L""));
}

TEST(KolvekHostile, RefusedLaunchAsksNothingAndKeepsTheMap) {
    // Its maps are listed, but cmd could not start a game from it.
    Installation installation(L"KOLVEK", 250);
    WriteFileBytes(installation.MapFile(L"alpha.bzn"), "alte Karte");
    installation.WriteSettingsForGameFolder();

    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    program.Click(kOptNew);
    program.Type(L"alpha");
    program.Click(kOk);
    // The report comes before any question about the map.
    MessageBoxView report = program.WaitForMessageBox();
    EXPECT_EQ(L"KOLVEK", report.title);
    EXPECT_EQ(0u, report.text.rfind(L"Laufzeitfehler 5: ", 0)) << ToUtf8(report.text);
    EXPECT_NE(std::wstring::npos, report.text.find(L"250 Zeichen")) << ToUtf8(report.text);
    program.Answer(report, IDOK);
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_EQ("alte Karte", ReadFileBytes(installation.MapFile(L"alpha.bzn")));
    EXPECT_TRUE(installation.GameStarts().empty());
}

// The game in the root of drive K: (which the test prefix maps to a folder
// of its own), with the temporary folder on K: too, where cmd.exe begins.
TEST(KolvekHostile, GameAtADriveRootStartsInThatRoot) {
    const std::wstring root = L"K:\\";
    ASSERT_TRUE(IsFolder(root)) << "no drive K: (the test wrapper kolvek-wine maps it)";
    struct Cleanup {
        ~Cleanup() {
            for (const std::wstring& path : FilesBelow(L"K:"))
                ::DeleteFileW(path.c_str());
            RemoveTree(L"K:\\bzn");
            RemoveTree(L"K:\\Temp");
        }
    } cleanup;
    Installation installation;
    CopyPayload(L"armada2.exe", root + L"armada2.exe");
    MakeFolders(root + L"bzn");
    WriteFileBytes(root + L"bzn\\alpha.bzn", "Karte");
    const std::wstring temp = root + L"Temp";
    MakeFolders(temp + L"\\KOLVEK");
    std::vector<Decoy> decoys;
    for (const wchar_t* folder : {L"\\", L"\\KOLVEK\\"})
        decoys.emplace_back(temp + folder + L"armada2.exe");
    installation.WriteSettings("[General]\r\nArmadaPath = K:\\\r\n");

    Program program(installation, {{L"TMP", temp}, {L"TEMP", temp}});
    ASSERT_NE(nullptr, program.WaitForDialog());
    EXPECT_EQ(std::vector<std::wstring>{L"alpha.bzn"}, program.MapListEntries());
    program.ClickMap(L"alpha.bzn");
    program.Click(kOk);
    ASSERT_TRUE(WaitUntil([&] { return IsFile(root + L"armada2.log"); }));
    ASSERT_TRUE(program.WaitForLaunchesToEnd());
    const std::string log = ReadFileBytes(root + L"armada2.log");
    EXPECT_NE(std::string::npos, log.find("/edit alpha.bzn\tK:\\\r\n")) << log;
    EXPECT_TRUE(NoDecoyRan(decoys));
    EXPECT_EQ(Installation::ScriptBytesFor(root, L"armada2 /edit alpha.bzn"),
              ReadFileBytes(installation.ProgramFile(L"RunA2.bat")));
}

TEST(KolvekHostile, ListShowsOnlyNamesWindowsAllows) {
    Installation installation;
    installation.AddMap(L"alpha.bzn");
    // What running a cut-off name would start, from the game folder.
    std::vector<Decoy> decoys;
    for (const wchar_t* name : {L"evil1.bzn.exe", L"evil2.bzn.exe", L"b.exe", L"a.exe"})
        decoys.emplace_back(installation.GameFile(name));
    const UnixSideFiles hostile(WithoutBackslash(installation.MapFile(L"")),
                                {"b\nevil2.bzn", "a\"&evil1.bzn", "a|b.bzn", "q?.bzn", "st*r.bzn",
                                 "lt<gt>.bzn", "tab\tx.bzn", "co:lon.bzn", "bad\xFF.bzn", "CON.bzn",
                                 "lpt1.bzn"});
    installation.WriteSettingsForGameFolder();
    const FileSnapshot before(installation.Root());

    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    EXPECT_EQ(std::vector<std::wstring>{L"alpha.bzn"}, program.MapListEntries());
    program.ClickMap(L"alpha.bzn");
    program.Click(kOk);
    const std::vector<GameStart> starts = installation.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    ExpectGameStart(installation, starts[0], L"/edit alpha.bzn");
    ASSERT_TRUE(program.WaitForLaunchesToEnd());
    EXPECT_TRUE(NoDecoyRan(decoys));
    EXPECT_EQ(std::vector<std::wstring>{}, before.DeletedOutside(L""));
}

} // namespace
} // namespace e2e

#include "config/LaunchScript.h"
#include "config/LaunchDecision.h"
#include "config/ScriptCopies.h"
#include "config/mdlKOLVEK.h"
#include "fake/FakePlatform.h"
#include "files/USysMdlFileDirHandle.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

using mdlKOLVEK::GameFolder;
using mdlKOLVEK::PrepareEditMode;
using mdlKOLVEK::WriteLaunchScript;
using USysMdlFileDirHandle::PathWithBackslash;

const char kScript[] = "C:\\KOLVEK\\RunA2.bat";
// Where the launches' copies go.
const char kTemp[] = "C:\\Users\\Spieler\\AppData\\Local\\Temp\\KOLVEK\\";

std::string Lines(const std::string& drive, const std::string& folder, const std::string& game) {
    return drive + "\r\ncd \"" + folder + "\"\r\n" + game + "\r\ncd \\\r\nc:\r\n";
}

class LaunchScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        fp.files.AddFolder(kTemp);
        UseGameFolder("D:\\Spiele\\Armada II\\");
    }
    void UseGameFolder(const std::string& folder) {
        GameFolder = folder;
        if (folder.size() >= 3 && folder.back() == '\\')
            fp.files.AddFile(folder + "armada2.exe");
    }
    // A normal start for no map, else an editor start on the new map `map`.
    LaunchDecision Decide(const std::string& map) {
        if (map.empty())
            return DecideNormalStart(fp.platform, GameFolder);
        return DecideEditorStart(fp.platform, GameFolder, GameFolder + "bzn", map, MapKind::New);
    }
    // Writes the script and answers the copy it made, which must hold the
    // same bytes as RunA2.bat.
    std::string Write(const std::string& map) {
        const LaunchDecision launch = Decide(map);
        EXPECT_FALSE(launch.Refused()) << launch.nameRefusal;
        const std::string copy = WriteLaunchScript(fp.platform, launch);
        EXPECT_EQ(fp.files.Bytes(copy),
                  fp.files.Bytes(PathWithBackslash(fp.process.programFolder) + "RunA2.bat"));
        return copy;
    }
    // Removes what earlier launches wrote.
    void ForgetLaunches() {
        if (fp.files.Exists(kScript))
            fp.files.RemoveFile(kScript);
        for (const std::string& name : fp.files.ListFiles(kTemp))
            fp.files.RemoveFile(kTemp + name);
    }
    // The launch is refused with `number` before anything is written.
    void ExpectRefused(const std::string& map, std::int32_t number, const std::string& reason) {
        try {
            Decide(map);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), number);
            EXPECT_NE(error.Description().find(reason), std::string::npos) << error.Description();
            EXPECT_NE(error.Description().find("Das Spiel wird nicht gestartet."),
                      std::string::npos);
        }
        EXPECT_FALSE(fp.files.Exists(kScript));
        EXPECT_TRUE(fp.files.ListFiles(kTemp).empty());
    }
    fake::FakePlatform fp;
};

TEST_F(LaunchScriptTest, NormalStartWritesTheFiveLinesAndACopyForThisLaunch) {
    const std::string copy = Write("");
    EXPECT_EQ(fp.files.Bytes(kScript), Lines("D:", "D:\\Spiele\\Armada II", "armada2 /nointro"));
    EXPECT_EQ(copy.rfind(kTemp, 0), 0u) << copy;
    EXPECT_TRUE(IsScriptCopyName(copy.substr(sizeof kTemp - 1))) << copy;
}

TEST_F(LaunchScriptTest, EditorStartCarriesOnlyTheArgument) {
    Write("meine.bzn");
    EXPECT_EQ(fp.files.Bytes(kScript),
              Lines("D:", "D:\\Spiele\\Armada II", "armada2 /edit meine.bzn"));
}

TEST_F(LaunchScriptTest, FolderLinesTakeTheDriveAndDropTheLastCharacterButARootsBackslash) {
    EXPECT_EQ(ScriptDriveLine("E:\\"), "E:");
    EXPECT_EQ(ScriptFolderLine("E:\\"), "cd \"E:\\\""); // "E:" alone is E:'s current folder
    EXPECT_EQ(ScriptFolderLine("E:\\Spiele"), "cd \"E:\\Spiel\"");
    EXPECT_EQ(ScriptFolderLine("C:\\100%\\"), "cd \"C:\\100%%\"");
    EXPECT_THROW(ScriptFolderLine(""), RuntimeError);
}

TEST_F(LaunchScriptTest, ProgramFolderAtADriveRoot) {
    fp.process.programFolder = "E:\\";
    fp.files.AddFolder("E:\\");
    Write("");
    EXPECT_TRUE(fp.files.Exists("E:\\RunA2.bat"));
}

TEST_F(LaunchScriptTest, SecondLaunchReplacesRunA2ButNotTheFirstLaunchsCopy) {
    const std::string first = Write("a-very-long-map-name.bzn");
    const std::string second = Write("");
    EXPECT_NE(first, second);
    EXPECT_EQ(fp.files.Bytes(kScript), Lines("D:", "D:\\Spiele\\Armada II", "armada2 /nointro"));
    EXPECT_EQ(fp.files.Bytes(first),
              Lines("D:", "D:\\Spiele\\Armada II", "armada2 /edit a-very-long-map-name.bzn"));
}

TEST_F(LaunchScriptTest, IsWrittenInTheConsoleCodePage) {
    UseGameFolder("C:\\Spiele\\Übungen\\");
    Write("Höhle.bzn");
    EXPECT_EQ(fp.files.Bytes(kScript), Lines("C:",
                                             "C:\\Spiele\\\x9A"
                                             "bungen",
                                             "armada2 /edit H\x94hle.bzn"));
}

TEST_F(LaunchScriptTest, BatchCharactersCannotStartASecondCommand) {
    UseGameFolder("C:\\100%\\A&B\\");
    Write("a&b^f%g.bzn");
    EXPECT_EQ(fp.files.Bytes(kScript),
              Lines("C:", "C:\\100%%\\A&B", "armada2 /edit a^&b^^f%%g.bzn"));
    EXPECT_EQ(ScriptGameLine("/edit a|c<d>e"), "armada2 /edit a^|c^<d^>e");
}

TEST_F(LaunchScriptTest, GameFolderThatCdCannotEnterExactlyIsRefused) {
    const char* const notFull = "kein vollständiger Pfad";
    const char* const badCharacter = "nicht stehen darf";
    const struct {
        const char* folder;
        const char* reason;
    } rows[] = {
        {"", notFull},
        {"Spiele\\Armada II\\", notFull},      // line 1 would be "Sp"
        {"C:Spiele\\Armada II\\", notFull},    // relative to the drive's folder
        {"\\\\server\\spiele\\A2\\", notFull}, // cmd cannot stand in a share
        {"C:\\Spiele\\Armada", notFull},       // cd would enter C:\Spiele\Armad
        {"C:\\A2\\\" & pwn & \"\\..\\", badCharacter},
        {"C:\\A2\\\n pwn\\..\\", badCharacter},
        {"C:\\A2\\\r\\", badCharacter},
        {"C:\\A2\\\t\\", badCharacter},
        {"C:\\Arm*\\", badCharacter}, // cd takes the first match
        {"C:\\*\\", badCharacter},    // a first folder of one character
        {"C:\\Arm?da\\", badCharacter},
        {"C:\\a<b\\", badCharacter},
        {"C:\\a>b\\", badCharacter},
        {"C:\\a|b\\", badCharacter},
        {"C:\\a/b\\", badCharacter},
        {"C:\\a:b\\", badCharacter},
        {"C:\\Spiele\\Armada \\", badCharacter}, // cd would enter "Armada"
        {"C:\\Spiele\\Armada.\\", badCharacter},
        {"C:\\Spiele \\Armada\\", badCharacter},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder);
        UseGameFolder(row.folder);
        ExpectRefused("", err::InvalidArgument, row.reason);
    }
}

TEST_F(LaunchScriptTest, GameAtADriveRootIsStartedInTheRoot) {
    UseGameFolder("E:\\");
    Write("");
    EXPECT_EQ(fp.files.Bytes(kScript), Lines("E:", "E:\\", "armada2 /nointro"));
}

TEST_F(LaunchScriptTest, MissingGameFolderOrGameIsRefused) {
    GameFolder = "C:\\Nirgends\\";
    ExpectRefused("", err::PathNotFound, "Das Spielverzeichnis C:\\Nirgends gibt es nicht.");
    // cmd would look for another armada2 along the path.
    GameFolder = "C:\\Karten\\";
    fp.files.AddFolder("C:\\Karten\\armada2.exe");
    ExpectRefused("", err::FileNotFound,
                  "Im Spielverzeichnis C:\\Karten\\ liegt kein armada2.exe. Trage in kolvar.ini "
                  "bei ArmadaPath den Ordner ein");
}

TEST_F(LaunchScriptTest, FolderTheConsoleCannotHoldIsWrittenByItsShortName) {
    UseGameFolder("C:\\Spiele\\Армада\\");
    fp.files.At("C:\\Spiele\\Армада").shortName = "____~SAZ";
    Write("");
    EXPECT_EQ(fp.files.Bytes(kScript), Lines("C:", "C:\\Spiele\\____~SAZ", "armada2 /nointro"));

    // Without a short name it cannot be entered.
    UseGameFolder("C:\\Spiele\\Armada™ Œuvre\\");
    ForgetLaunches();
    ExpectRefused("", err::InvalidArgument, "keinen kurzen Namen");
}

TEST_F(LaunchScriptTest, GameFolderUpTo247CharactersAsWrittenCanBeEntered) {
    // 247 characters without the closing backslash: the longest folder from
    // which cmd.exe still finds armada2.exe.
    const std::string longest = "C:\\" + std::string(100, 'a') + "\\" + std::string(143, 'b');
    ASSERT_EQ(longest.size(), 247u);
    UseGameFolder(longest + "\\");
    Write("");
    UseGameFolder(longest + "b\\");
    ForgetLaunches();
    ExpectRefused("", err::InvalidArgument, "248 Zeichen");

    // What counts is the folder as the script writes it: a short name can
    // make a long folder short enough.
    std::string cyrillic = "C:\\" + std::string(100, 'a') + "\\";
    for (int i = 0; i < 150; ++i)
        cyrillic += "\xD0\x96"; // Ж
    UseGameFolder(cyrillic + "\\");
    fp.files.At(cyrillic).shortName = "ZHZH~1";
    Write("");
    EXPECT_EQ(fp.files.Bytes(kScript),
              Lines("C:", "C:\\" + std::string(100, 'a') + "\\ZHZH~1", "armada2 /nointro"));
}

TEST_F(LaunchScriptTest, MapNameTheScriptCannotCarryIsRefused) {
    for (const auto& [name, kind] :
         {std::pair{"b\nevil.bzn", MapKind::New}, std::pair{"a\"&b|c.bzn", MapKind::Existing}}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(
            DecideEditorStart(fp.platform, GameFolder, GameFolder + "bzn", name, kind).Refused());
    }
}

TEST_F(LaunchScriptTest, UnwritableScriptPassesTheErrorOn) {
    fp.files.Fail({"create", "RunA2.bat", err::PermissionDenied, 0, true});
    EXPECT_THROW(WriteLaunchScript(fp.platform, Decide("")), RuntimeError);
}

TEST_F(LaunchScriptTest, CopyThatCannotBeWrittenIsRemovedAndTheErrorPassesOn) {
    fp.files.Fail({"write", "RunA2-", err::DiskFull, 2, true});
    EXPECT_THROW(WriteLaunchScript(fp.platform, Decide("")), RuntimeError);
    EXPECT_TRUE(fp.files.ListFiles(kTemp).empty());
}

class PrepareEditModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameFolder = "C:\\A2\\";
        fp.files.AddFolder("C:\\A2");
    }
    std::vector<std::string> Created() const {
        std::vector<std::string> created;
        for (const auto& call : fp.files.Calls())
            if (call.rfind("create ", 0) == 0)
                created.push_back(call.substr(7));
        return created;
    }
    fake::FakePlatform fp;
};

TEST_F(PrepareEditModeTest, NeitherMarkerPresentCreatesBothEmptyInOrder) {
    EXPECT_TRUE(PrepareEditMode(fp.platform));
    EXPECT_EQ(Created(),
              (std::vector<std::string>{"C:\\A2\\unsupportedextension_mapedit", "C:\\A2\\ATVI"}));
    EXPECT_EQ(fp.files.Bytes("C:\\A2\\ATVI"), "");
    EXPECT_EQ(fp.files.Bytes("C:\\A2\\unsupportedextension_mapedit"), "");
}

TEST_F(PrepareEditModeTest, OnlyTheOtherMarkerPresentCreatesOnlyAtvi) {
    fp.files.AddFile("C:\\A2\\unsupportedextension_mapedit");
    EXPECT_TRUE(PrepareEditMode(fp.platform));
    EXPECT_EQ(Created(), (std::vector<std::string>{"C:\\A2\\ATVI"}));
}

TEST_F(PrepareEditModeTest, AtviPresentWritesNothing) {
    fp.files.AddFile("C:\\A2\\atvi");
    EXPECT_TRUE(PrepareEditMode(fp.platform));
    EXPECT_TRUE(Created().empty());
    EXPECT_FALSE(fp.files.Exists("C:\\A2\\unsupportedextension_mapedit"));
    fp.files.AddFile("C:\\A2\\unsupportedextension_mapedit");
    EXPECT_TRUE(PrepareEditMode(fp.platform));
    EXPECT_TRUE(Created().empty());
}

TEST_F(PrepareEditModeTest, WriteProtectedOrMissingGameFolderAnswersFalseQuietly) {
    fp.files.At("C:\\A2").readOnly = true;
    EXPECT_FALSE(PrepareEditMode(fp.platform));
    GameFolder = "C:\\Nirgends\\";
    EXPECT_FALSE(PrepareEditMode(fp.platform));
    EXPECT_TRUE(fp.ui.events.empty());
}

TEST_F(PrepareEditModeTest, FailureToCloseAtviIsNotReportedAsMade) {
    fp.files.Fail({"close", "ATVI", err::DiskFull, 0, true});
    EXPECT_FALSE(PrepareEditMode(fp.platform));
    EXPECT_TRUE(fp.files.Exists("C:\\A2\\unsupportedextension_mapedit"));
}

} // namespace
} // namespace kolvek

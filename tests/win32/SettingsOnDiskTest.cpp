// The settings file, the launch script and the marker files as the real
// routines leave them on disk: exact bytes, in the code pages Windows uses.

#include "Win32TestSupport.h"
#include "config/mdlKOLVEK.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

using wintest::PathExists;
using wintest::ReadBytes;
using wintest::TempFolder;
using wintest::WriteBytes;

// The bytes of `text` as a UTF-16 LE file with its byte-order mark.
std::string Utf16LeWithMark(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

class SettingsOnDiskTest : public ::testing::Test {
protected:
    SettingsOnDiskTest() { mdlKOLVEK::GameFolder.clear(); }
    ~SettingsOnDiskTest() override { mdlKOLVEK::GameFolder.clear(); }

    TempFolder program{"KOLVEK Program"};
    TempFolder game{"Armada II"};
    wintest::TestPlatform test{program.Path()};
};

TEST_F(SettingsOnDiskTest, SettingsFileHoldsTwoAnsiLinesWithCrLf) {
    mdlKOLVEK::GameFolder = "C:\\Spiele\\Armada II K\xC3\xA4se\\";
    ASSERT_TRUE(mdlKOLVEK::WriteSettingsFile(test.platform));
    EXPECT_EQ("[General]\r\nArmadaPath = C:\\Spiele\\Armada II K\xE4se\\\r\n",
              ReadBytes(program / "kolvar.ini"));
    EXPECT_FALSE(PathExists(program / "kolvar.ini.tmp"));
}

TEST_F(SettingsOnDiskTest, HandWrittenSettingsFileIsReadLikeWindowsWritesIt) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string gameFolder;
    };
    const Case cases[] = {
        {"as written", "[General]\r\nArmadaPath = D:\\Spiele\\A2\\\r\n", "D:\\Spiele\\A2\\"},
        {"ansi umlaut", "ARMADAPATH=D:\\K\xE4se\\\r\n", "D:\\K\xC3\xA4se\\"},
        {"utf-8 with bom", "\xEF\xBB\xBF[General]\r\narmadapath = D:\\K\xC3\xA4se\\",
         "D:\\K\xC3\xA4se\\"},
        // Notepad's default since Windows 10.
        {"utf-8 without bom",
         "[General]\r\nArmadaPath = C:\\Spiele\\\xC3\x9C"
         "bungen\\\r\n",
         "C:\\Spiele\\\xC3\x9C"
         "bungen\\"},
        // Notepad's "UTF-16 LE", with a letter beyond every 8-bit code page.
        {"utf-16 le with bom", Utf16LeWithMark(L"ArmadaPath = D:\\\u00DC\u03A3\\\r\n"),
         "D:\\\xC3\x9C\xCE\xA3\\"},
        {"lone cr endings, last line wins", "ArmadaPath = A:\\\rArmadaPath = B:\\\r", "B:\\"},
        {"lone lf stays in the line", "ArmadaPath = C:\\x\n\r\n", "C:\\x\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(program / "kolvar.ini", c.bytes);
        mdlKOLVEK::GameFolder.clear();
        EXPECT_TRUE(mdlKOLVEK::InitializeSettings(test.platform));
        EXPECT_EQ(c.gameFolder, mdlKOLVEK::GameFolder);
    }
    EXPECT_TRUE(test.ui.messages.empty());
}

TEST_F(SettingsOnDiskTest, FirstStartReadsTheRegistryAndWritesTheSettingsFile) {
    wintest::InstallPathEntry entry;
    entry.Set("E:\\Spiele\\Armada II");
    ASSERT_TRUE(mdlKOLVEK::InitializeSettings(test.platform));
    EXPECT_EQ("E:\\Spiele\\Armada II\\", mdlKOLVEK::GameFolder);
    EXPECT_EQ("[General]\r\nArmadaPath = E:\\Spiele\\Armada II\\\r\n",
              ReadBytes(program / "kolvar.ini"));
    EXPECT_TRUE(test.ui.messages.empty());
}

TEST_F(SettingsOnDiskTest, FirstStartWithoutRegistryEntryReportsTwiceAndEnds) {
    wintest::InstallPathEntry absent;
    EXPECT_THROW(mdlKOLVEK::InitializeSettings(test.platform), wintest::ProgramEnded);
    ASSERT_EQ(2u, test.ui.messages.size());
    EXPECT_EQ("Fehler beim Abfragen der Windows Registry. 6", test.ui.messages[0].prompt);
    EXPECT_EQ("Erststart Initialisierungsfehler", test.ui.messages[1].title);
    EXPECT_EQ(1, test.ui.beeps);
    EXPECT_FALSE(PathExists(program / "kolvar.ini"));
}

TEST_F(SettingsOnDiskTest, FirstStartInAMissingProgramFolderFailsToWrite) {
    wintest::InstallPathEntry entry;
    entry.Set("E:\\A2\\");
    wintest::TestPlatform gone(program / "gone");
    EXPECT_FALSE(mdlKOLVEK::InitializeSettings(gone.platform));
    ASSERT_EQ(1u, gone.ui.messages.size());
    EXPECT_EQ("Fehler  76 beim Schreiben der INI-Datei. " + StandardDescription(err::PathNotFound),
              gone.ui.messages[0].prompt);
    EXPECT_EQ("Initialisierung fehlgeschlagen", gone.ui.messages[0].title);
}

TEST_F(SettingsOnDiskTest, FirstStartLeavesAHiddenHandWrittenSettingsFileAlone) {
    // Hidden, the file does not count as present; the first start must still
    // not replace what the user wrote.
    wintest::InstallPathEntry entry;
    entry.Set("E:\\A2\\");
    WriteBytes(program / "kolvar.ini", "ArmadaPath = D:\\Eigen\\\r\n");
    wintest::SetAttributes(program / "kolvar.ini", FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(mdlKOLVEK::InitializeSettings(test.platform));
    wintest::SetAttributes(program / "kolvar.ini", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("ArmadaPath = D:\\Eigen\\\r\n", ReadBytes(program / "kolvar.ini"));
    EXPECT_FALSE(PathExists(program / "kolvar.ini.tmp"));
    ASSERT_EQ(1u, test.ui.messages.size());
    EXPECT_EQ("Fehler  75 beim Schreiben der INI-Datei. " +
                  StandardDescription(err::PathFileAccessError),
              test.ui.messages[0].prompt);
}

TEST_F(SettingsOnDiskTest, LaunchScriptHoldsFiveOemLinesWithCrLfAndSoDoesTheCopyStarted) {
    TempFolder umlaut{"K\xC3\xA4se"};
    struct Case {
        const char* name;
        std::string gameFolder;
        std::string map; // a new map's name; none for a normal start
        std::string gameLine;
    };
    const Case cases[] = {
        {"normal start", game.Path(), "", "armada2 /nointro"},
        {"editor start", game.Path(), "meine.bzn", "armada2 /edit meine.bzn"},
        // cmd.exe reads batch files in the OEM code page: ä is 0x84 in CP437.
        {"umlaut", umlaut.Path(), "K\xC3\xA4se.bzn", "armada2 /edit K\x84se.bzn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(program / "RunA2.bat", "an earlier, longer script\r\nwith more lines\r\n\r\n");
        mdlKOLVEK::GameFolder = c.gameFolder + "\\";
        WriteBytes(c.gameFolder + "\\armada2.exe", "");
        const std::string& folder = mdlKOLVEK::GameFolder;
        const std::string copy = mdlKOLVEK::WriteLaunchScript(
            test.platform, c.map.empty() ? DecideNormalStart(test.platform, folder)
                                         : DecideEditorStart(test.platform, folder, folder + "bzn",
                                                             c.map, MapKind::New));
        const std::string bytes = c.gameFolder.substr(0, 2) + "\r\ncd \"" +
                                  Utf8ToBytes(c.gameFolder, CP_OEMCP) + "\"\r\n" + c.gameLine +
                                  "\r\ncd \\\r\nc:\r\n";
        EXPECT_EQ(bytes, ReadBytes(program / "RunA2.bat"));
        EXPECT_EQ(bytes, ReadBytes(copy));
        EXPECT_EQ(0u, copy.rfind(test.process.TemporaryFolder() + "\\KOLVEK\\RunA2-", 0)) << copy;
        ::DeleteFileW(Widen(copy).c_str());
    }
}

TEST_F(SettingsOnDiskTest, MarkerFilesAreMadeOnlyWhenAtviIsMissing) {
    struct Case {
        const char* name;
        bool atvi;
        bool unsupported;
    };
    const Case cases[] = {
        {"neither", false, false},
        {"only unsupportedextension_mapedit", false, true},
        {"only ATVI", true, false},
        {"both", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder{"Armada II"};
        // Existing markers carry a byte, so it shows whether they were rewritten.
        if (c.atvi)
            WriteBytes(folder / "ATVI", "x");
        if (c.unsupported)
            WriteBytes(folder / "unsupportedextension_mapedit", "x");
        mdlKOLVEK::GameFolder = folder.Path() + "\\";

        EXPECT_TRUE(mdlKOLVEK::PrepareEditMode(test.platform));

        EXPECT_EQ(c.atvi ? "x" : "", ReadBytes(folder / "ATVI"));
        if (c.atvi && !c.unsupported)
            EXPECT_FALSE(PathExists(folder / "unsupportedextension_mapedit"));
        else
            EXPECT_EQ(c.unsupported ? "x" : "", ReadBytes(folder / "unsupportedextension_mapedit"));
    }
}

TEST_F(SettingsOnDiskTest, MarkerFilesInAMissingGameFolderFail) {
    mdlKOLVEK::GameFolder = game / "gone\\";
    EXPECT_FALSE(mdlKOLVEK::PrepareEditMode(test.platform));
    EXPECT_TRUE(test.ui.messages.empty());
}

TEST_F(SettingsOnDiskTest, MarkerThatCannotBeCreatedFailsAndKeepsTheFirstOne) {
    // A folder named ATVI cannot be created as a file: the stand-in for a
    // write-protected game folder. The read-only attribute cannot make one:
    // Windows ignores it on folders, and Wine run by root ignores it on files
    // as well (see Win32FileSystemTest).
    wintest::MakeFolder(game / "ATVI");
    mdlKOLVEK::GameFolder = game.Path() + "\\";
    EXPECT_FALSE(mdlKOLVEK::PrepareEditMode(test.platform));
    EXPECT_EQ("", ReadBytes(game / "unsupportedextension_mapedit"));
}

} // namespace
} // namespace kolvek

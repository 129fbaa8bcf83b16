#include "config/mdlKOLVEK.h"
#include "fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

using mdlKOLVEK::GameFolder;
using mdlKOLVEK::InitializeSettings;
using mdlKOLVEK::IniValue;

const char kIni[] = "C:\\KOLVEK\\kolvar.ini";
const char kRegistryKey[] = "SOFTWARE\\Activision\\Star Trek Armada II\\v1.0";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { GameFolder.clear(); }
    void WriteIni(const std::string& bytes) { fp.files.AddFile(kIni, bytes); }
    void SetInstallPath(const std::string& ansi) {
        fp.registry.SetString(kHKeyLocalMachine, kRegistryKey, "INSTALLPATH", ansi);
    }
    fake::FakePlatform fp;
};

TEST(IniValue, SplitsAtTheFirstEqualsSignAndDropsOnlyLeadingBlanks) {
    EXPECT_EQ(IniValue("ArmadaPath = C:\\A\\"), "C:\\A\\");
    EXPECT_EQ(IniValue("ARMADAPATH=D:\\Games\\A2\\"), "D:\\Games\\A2\\");
    EXPECT_EQ(IniValue("ArmadaPath = D:\\x=y\\"), "D:\\x=y\\");
    EXPECT_EQ(IniValue("a =   v   "), "v   ");
    EXPECT_EQ(IniValue("a =\tv"), "\tv");
    EXPECT_EQ(IniValue("a =    "), "");
    EXPECT_EQ(IniValue("ArmadaPath C:\\"), "");
    EXPECT_EQ(IniValue(""), "");
}

TEST_F(SettingsTest, FirstStartWritesExactlyTwoLinesFromTheRegistry) {
    SetInstallPath("C:\\Spiele\\Armada II");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "C:\\Spiele\\Armada II\\");
    EXPECT_EQ(fp.files.Bytes(kIni), "[General]\r\nArmadaPath = C:\\Spiele\\Armada II\\\r\n");
    EXPECT_TRUE(fp.ui.boxes.empty());
    EXPECT_FALSE(fp.files.Exists("C:\\KOLVEK\\kolvar.ini.tmp"));
}

TEST_F(SettingsTest, FirstStartAsAStandardUserReadsTheKeyItMayNotWrite) {
    SetInstallPath("C:\\Spiele\\Armada II");
    fp.registry.DenyAccess(kHKeyLocalMachine, kRegistryKey, 0x1); // KEY_QUERY_VALUE only
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(fp.files.Bytes(kIni), "[General]\r\nArmadaPath = C:\\Spiele\\Armada II\\\r\n");
    EXPECT_TRUE(fp.ui.boxes.empty());
}

TEST_F(SettingsTest, FirstStartKeepsAnExistingBackslashAndWritesUmlautsInAnsi) {
    SetInstallPath("C:\\\xDC"
                   "bungen\\");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "C:\\Übungen\\");
    EXPECT_EQ(fp.files.Bytes(kIni), "[General]\r\nArmadaPath = C:\\\xDC"
                                    "bungen\\\r\n");
}

TEST_F(SettingsTest, FirstStartWithEmptyOrOtherTypedValueGivesALoneBackslash) {
    fp.registry.SetValue(kHKeyLocalMachine, kRegistryKey, "INSTALLPATH", kRegExpandSz,
                         std::string("%X%\0", 4));
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "\\");
    EXPECT_EQ(fp.files.Bytes(kIni), "[General]\r\nArmadaPath = \\\r\n");
}

TEST_F(SettingsTest, FirstStartWithoutRegistryValueShowsTwoMessagesAndEnds) {
    fp.registry.AddKey(kHKeyLocalMachine, kRegistryKey);
    EXPECT_THROW(InitializeSettings(fp.platform), fake::ProgramEnded);
    ASSERT_EQ(fp.ui.boxes.size(), 2u);
    EXPECT_EQ(fp.ui.boxes[0].prompt, "Fehler beim Abfragen der Windows Registry. 2");
    EXPECT_EQ(fp.ui.boxes[0].style, 16);
    EXPECT_EQ(fp.ui.boxes[0].title, "Fehler");
    EXPECT_EQ(fp.ui.boxes[1].style, 48);
    EXPECT_EQ(fp.ui.boxes[1].title, "Erststart Initialisierungsfehler");
    EXPECT_EQ(fp.ui.boxes[1].prompt.rfind("Der Installationspfad von Armada II konnte nicht", 0),
              0u);
    EXPECT_NE(fp.ui.boxes[1].prompt.find("Programmverzeichnis von KOLVEK.EXE manuell erstellen."),
              std::string::npos);
    EXPECT_EQ(fp.ui.events, (std::vector<std::string>{"box:Fehler", "beep",
                                                      "box:Erststart Initialisierungsfehler"}));
    EXPECT_FALSE(fp.files.Exists(kIni));
}

TEST_F(SettingsTest, FirstStartWithoutKeyReportsTheZeroHandleCode) {
    EXPECT_THROW(InitializeSettings(fp.platform), fake::ProgramEnded);
    ASSERT_FALSE(fp.ui.boxes.empty());
    EXPECT_EQ(fp.ui.boxes[0].prompt, "Fehler beim Abfragen der Windows Registry. 6");
}

TEST_F(SettingsTest, LaterStartReadsTheLastPathLineInAnyLetterCase) {
    WriteIni("[General]\r\nArmadaPath = C:\\Erst\\\r\nARMADAPATH=D:\\Games\\A2\\\r\n");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "D:\\Games\\A2\\");
    EXPECT_TRUE(fp.registry.openedAccess.empty());
}

TEST_F(SettingsTest, ReadsLinesEndedByLoneCarriageReturns) {
    WriteIni("[General]\rArmadaPath = E:\\A\\\r");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "E:\\A\\");
}

TEST_F(SettingsTest, IndentedKeysAndOtherLinesAreIgnored) {
    WriteIni("  ArmadaPath = C:\\Nein\\\r\nPfad = x\r\n");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "");
}

TEST_F(SettingsTest, ValueKeepsTrailingBlanksAndMissingBackslash) {
    WriteIni("ArmadaPath = C:\\Spiele   ");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "C:\\Spiele   ");
}

TEST_F(SettingsTest, EmptyFileIsAcceptedWithAnEmptyGameFolder) {
    WriteIni("");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "");
    EXPECT_TRUE(fp.ui.boxes.empty());
}

TEST_F(SettingsTest, FileSavedWithByteOrderMarkIsReadAsUtf8) {
    WriteIni("\xEF\xBB\xBF"
             "ArmadaPath = C:\\Übungen\\\r\n");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "C:\\Übungen\\");
}

TEST_F(SettingsTest, FileSavedByTodaysNotepadIsReadAsUtf8WithoutAMark) {
    WriteIni("[General]\r\nArmadaPath = C:\\Spiele\\\xC3\x9C"
             "bungen\\\r\n");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "C:\\Spiele\\Übungen\\");
}

TEST_F(SettingsTest, FileSavedAsUtf16IsReadWithItsLineEnds) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[General]\r\nArmadaPath = C:\\\xDC"
                              "bungen\\\n\r\n"))
        utf16 += std::string{c, '\0'}; // every character here is below U+0100
    WriteIni(utf16);
    EXPECT_TRUE(InitializeSettings(fp.platform));
    // A lone LF ends no line, in UTF-16 too.
    EXPECT_EQ(GameFolder, "C:\\Übungen\\\n");
}

TEST_F(SettingsTest, FileWithoutMarkIsReadInTheAnsiCodePage) {
    WriteIni("ArmadaPath = C:\\\xDC"
             "bungen\\\r\n");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_EQ(GameFolder, "C:\\Übungen\\");
}

TEST_F(SettingsTest, PathLineWithoutValueIsABrokenFile) {
    for (const char* line : {"ArmadaPath =    ", "ArmadaPath C:\\Spiele\\", "armad="}) {
        fake::FakePlatform local;
        GameFolder.clear();
        local.files.AddFile(kIni, std::string(line) + "\r\n");
        EXPECT_FALSE(InitializeSettings(local.platform)) << line;
        ASSERT_EQ(local.ui.boxes.size(), 1u) << line;
        EXPECT_EQ(local.ui.boxes[0].prompt,
                  "Die KOLVAR.INI-Datei im Pfad C:\\KOLVEK ist fehlerhaft. Lösche die Datei und "
                  "starte das Programm erneut.");
        EXPECT_EQ(local.ui.boxes[0].style, 16);
        EXPECT_EQ(local.ui.boxes[0].title, "Fehler");
    }
}

TEST_F(SettingsTest, UnreadableFileGivesTheGeneralMessage) {
    WriteIni("ArmadaPath = C:\\A\\\r\n");
    fp.files.Fail({"open", "kolvar.ini", err::PermissionDenied, 0, true});
    EXPECT_FALSE(InitializeSettings(fp.platform));
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt,
              "Fehler  70 beim Bearbeiten der INI-Datei. " + StandardDescription(70));
    EXPECT_EQ(fp.ui.boxes[0].title, "Initialisierung fehlgeschlagen");
}

TEST_F(SettingsTest, WriteProtectedProgramFolderGivesTheWriteMessageAndNoFile) {
    SetInstallPath("C:\\A");
    fp.files.At("C:\\KOLVEK").readOnly = true;
    EXPECT_FALSE(InitializeSettings(fp.platform));
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt,
              "Fehler  75 beim Schreiben der INI-Datei. " + StandardDescription(75));
    EXPECT_EQ(fp.ui.boxes[0].style, 16);
    EXPECT_EQ(fp.ui.boxes[0].title, "Initialisierung fehlgeschlagen");
    EXPECT_FALSE(fp.files.Exists(kIni));
}

TEST_F(SettingsTest, FailedWriteLeavesNeitherHalfAFileNorTheTemporaryOne) {
    SetInstallPath("C:\\A");
    fp.files.Fail({"write", "", err::DiskFull, 1, true});
    EXPECT_FALSE(InitializeSettings(fp.platform));
    EXPECT_FALSE(fp.files.Exists(kIni));
    EXPECT_FALSE(fp.files.Exists("C:\\KOLVEK\\kolvar.ini.tmp"));
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt.rfind("Fehler  61 beim Schreiben der INI-Datei. ", 0), 0u);
}

TEST_F(SettingsTest, HiddenHandWrittenSettingsFileIsNeverReplaced) {
    // A hidden kolvar.ini does not count as present, so the start is a first
    // start; the file the user wrote must survive it.
    SetInstallPath("C:\\A\\");
    WriteIni("ArmadaPath = D:\\Eigen\\\r\n");
    fp.files.At(kIni).hidden = true;
    EXPECT_FALSE(InitializeSettings(fp.platform));
    EXPECT_EQ(fp.files.Bytes(kIni), "ArmadaPath = D:\\Eigen\\\r\n");
    EXPECT_FALSE(fp.files.Exists("C:\\KOLVEK\\kolvar.ini.tmp"));
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt.rfind("Fehler  75 beim Schreiben der INI-Datei. ", 0), 0u);
}

TEST_F(SettingsTest, ProgramFolderAtADriveRootGetsNoDoubledBackslash) {
    fp.process.programFolder = "E:\\";
    SetInstallPath("C:\\A\\");
    EXPECT_TRUE(InitializeSettings(fp.platform));
    EXPECT_TRUE(fp.files.Exists("E:\\kolvar.ini"));
}

} // namespace
} // namespace kolvek

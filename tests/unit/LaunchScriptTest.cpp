#include "config/mdlKOLVEK.h"
#include "fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

using mdlKOLVEK::GameFolder;
using mdlKOLVEK::PrepareEditMode;
using mdlKOLVEK::WriteLaunchScript;

const char kScript[] = "C:\\KOLVEK\\RunA2.bat";

class LaunchScriptTest : public ::testing::Test {
protected:
    void SetUp() override { GameFolder = "D:\\Spiele\\Armada II\\"; }
    fake::FakePlatform fp;
};

TEST_F(LaunchScriptTest, NormalStartWritesTheFiveLinesAndReturnsThePath) {
    EXPECT_EQ(WriteLaunchScript(fp.platform, ""), kScript);
    EXPECT_EQ(fp.files.Bytes(kScript),
              "D:\r\ncd \"D:\\Spiele\\Armada II\"\r\narmada2 /nointro\r\ncd \\\r\nc:\r\n");
}

TEST_F(LaunchScriptTest, EditorStartCarriesOnlyTheArgument) {
    WriteLaunchScript(fp.platform, "/edit meine.bzn");
    EXPECT_EQ(fp.files.Bytes(kScript),
              "D:\r\ncd \"D:\\Spiele\\Armada II\"\r\narmada2 /edit meine.bzn\r\ncd \\\r\nc:\r\n");
}

TEST_F(LaunchScriptTest, GameFolderAtADriveRootOrWithoutBackslash) {
    GameFolder = "E:\\";
    WriteLaunchScript(fp.platform, "");
    EXPECT_EQ(fp.files.Bytes(kScript), "E:\r\ncd \"E:\"\r\narmada2 /nointro\r\ncd \\\r\nc:\r\n");
    GameFolder = "E:\\Spiele";
    WriteLaunchScript(fp.platform, "");
    EXPECT_EQ(fp.files.Bytes(kScript),
              "E:\r\ncd \"E:\\Spiel\"\r\narmada2 /nointro\r\ncd \\\r\nc:\r\n");
}

TEST_F(LaunchScriptTest, ProgramFolderAtADriveRoot) {
    fp.process.programFolder = "E:\\";
    EXPECT_EQ(WriteLaunchScript(fp.platform, ""), "E:\\RunA2.bat");
}

TEST_F(LaunchScriptTest, SecondLaunchReplacesTheWholeScript) {
    WriteLaunchScript(fp.platform, "/edit a-very-long-map-name.bzn");
    WriteLaunchScript(fp.platform, "");
    EXPECT_EQ(fp.files.Bytes(kScript),
              "D:\r\ncd \"D:\\Spiele\\Armada II\"\r\narmada2 /nointro\r\ncd \\\r\nc:\r\n");
}

TEST_F(LaunchScriptTest, IsWrittenInTheConsoleCodePage) {
    GameFolder = "C:\\Spiele\\Übungen\\";
    WriteLaunchScript(fp.platform, "/edit Höhle.bzn");
    EXPECT_EQ(fp.files.Bytes(kScript), "C:\r\ncd \"C:\\Spiele\\\x9A"
                                       "bungen\"\r\narmada2 /edit H\x94hle.bzn\r\ncd \\\r\nc:\r\n");
}

TEST_F(LaunchScriptTest, BatchCharactersCannotStartASecondCommand) {
    GameFolder = "C:\\100%\\A&B\\";
    WriteLaunchScript(fp.platform, "/edit a&b|c<d>e^f%g.bzn");
    EXPECT_EQ(
        fp.files.Bytes(kScript),
        "C:\r\ncd \"C:\\100%%\\A&B\"\r\narmada2 /edit a^&b^|c^<d^>e^^f%%g.bzn\r\ncd \\\r\nc:\r\n");
}

TEST_F(LaunchScriptTest, EmptyGameFolderFailsAtTheSecondLine) {
    GameFolder.clear();
    try {
        WriteLaunchScript(fp.platform, "");
        FAIL() << "expected an error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 5);
    }
    EXPECT_EQ(fp.files.Bytes(kScript), "\r\n");
}

TEST_F(LaunchScriptTest, UnwritableScriptPassesTheErrorOn) {
    fp.files.Fail({"create", "RunA2.bat", err::PermissionDenied, 0, true});
    EXPECT_THROW(WriteLaunchScript(fp.platform, ""), RuntimeError);
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

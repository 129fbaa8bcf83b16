#include "fake/FakePlatform.h"
#include "files/USysMdlFileDirHandle.h"
#include "platform/PathText.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

using USysMdlFileDirHandle::FileExists;
using USysMdlFileDirHandle::PathWithBackslash;

TEST(PathWithBackslash, AddsOneClosingBackslashExceptForTheThreeKeptWords) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"C:\\Spiele\\Armada2", "C:\\Spiele\\Armada2\\"},
        {"C:\\Spiele\\Armada2\\", "C:\\Spiele\\Armada2\\"},
        {"E:\\", "E:\\"},
        {"", "\\"},
        {"Work", "Work"},
        {"Access", "Access"},
        {"Auto", "Auto"},
        {"work", "work\\"},
        {"Work ", "Work \\"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PathWithBackslash(row.in), row.out) << row.in;
}

TEST(PathText, DrivesRootsFoldersAndNames) {
    const struct {
        const char *path, *drive, *belowRoot, *withoutBackslash, *folder, *name;
        bool startsWithRoot, isRoot, full;
    } rows[] = {
        {"E:\\", "E:", "", "E:\\", "E:\\", "", true, true, true},
        {"e:\\RunA2-1.bat", "e:", "RunA2-1.bat", "e:\\RunA2-1.bat", "e:\\", "RunA2-1.bat", true,
         false, true},
        {"C:\\*\\", "C:", "*\\", "C:\\*", "C:\\*", "", true, false, true},
        {"z:\\Spiele\\A2", "z:", "Spiele\\A2", "z:\\Spiele\\A2", "z:\\Spiele", "A2", true, false,
         true},
        {"C:A2", "C:", "C:A2", "C:A2", "", "C:A2", false, false, false},
        {"\\\\server\\A2\\", "", "\\\\server\\A2\\", "\\\\server\\A2", "\\\\server\\A2", "", false,
         false, true},
        {"\\\\server\\A2", "", "\\\\server\\A2", "\\\\server\\A2", "\\\\server", "A2", false, false,
         true},
        {"\\\\server\\", "", "\\\\server\\", "\\\\server", "\\\\server", "", false, false, false},
        {"\\\\\\server\\A2", "", "\\\\\\server\\A2", "\\\\\\server\\A2", "\\\\\\server", "A2",
         false, false, false},
        {"\\\\?\\C:\\A2", "", "\\\\?\\C:\\A2", "\\\\?\\C:\\A2", "\\\\?\\C:", "A2", false, false,
         false},
        {"\\\\.\\C:\\A2", "", "\\\\.\\C:\\A2", "\\\\.\\C:\\A2", "\\\\.\\C:", "A2", false, false,
         false},
        {"1:\\", "", "1:\\", "1:", "1:", "", false, false, false},
        {"armada2.exe", "", "armada2.exe", "armada2.exe", "", "armada2.exe", false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(DriveOf(row.path), row.drive);
        EXPECT_EQ(StartsWithDriveRoot(row.path), row.startsWithRoot);
        EXPECT_EQ(IsDriveRoot(row.path), row.isRoot);
        EXPECT_EQ(IsFullPath(row.path), row.full);
        EXPECT_EQ(BelowDriveRoot(row.path), row.belowRoot);
        EXPECT_EQ(WithoutClosingBackslash(row.path), row.withoutBackslash);
        EXPECT_EQ(FolderOf(row.path), row.folder);
        EXPECT_EQ(NameOf(row.path), row.name);
        if (*row.folder != '\0') {
            EXPECT_EQ(JoinPath(row.folder, row.name), row.path);
        }
    }
}

class FileExistsTest : public ::testing::Test {
protected:
    fake::FakePlatform fp;
};

TEST_F(FileExistsTest, FindsOrdinaryFilesWhateverTheLetterCase) {
    fp.files.AddFile("C:\\Spiele\\bzn\\Map1.bzn");
    EXPECT_TRUE(FileExists(fp.platform, "C:\\Spiele\\bzn\\Map1.bzn", true));
    EXPECT_TRUE(FileExists(fp.platform, "C:\\SPIELE\\BZN\\MAP1.BZN", true));
    EXPECT_FALSE(FileExists(fp.platform, "C:\\Spiele\\bzn\\Map2.bzn", true));
    EXPECT_FALSE(FileExists(fp.platform, "C:\\Nirgends\\Map1.bzn", true));
}

TEST_F(FileExistsTest, PatternsFoldersHiddenAndSystemFilesAndEmptyPathAreNotFiles) {
    fp.files.AddFile("C:\\g\\bzn\\Map1.bzn");
    fp.files.AddFile("C:\\g\\versteckt.bzn").hidden = true;
    fp.files.AddFile("C:\\g\\system.bzn").system = true;
    EXPECT_FALSE(FileExists(fp.platform, "C:\\g\\bzn\\*.bzn", true));
    EXPECT_FALSE(FileExists(fp.platform, "C:\\g\\bzn\\Map?.bzn", true));
    EXPECT_FALSE(FileExists(fp.platform, "C:\\g\\bzn", true));
    EXPECT_FALSE(FileExists(fp.platform, "C:\\g\\bzn\\", true));
    EXPECT_FALSE(FileExists(fp.platform, "C:\\g\\versteckt.bzn", true));
    EXPECT_FALSE(FileExists(fp.platform, "C:\\g\\system.bzn", true));
    EXPECT_FALSE(FileExists(fp.platform, "", true));
    EXPECT_TRUE(fp.ui.boxes.empty());
}

TEST_F(FileExistsTest, AFileFoundOnlyThroughItsShortNameDoesNotCount) {
    fp.files.AddFile("C:\\g\\bzn\\map.bzn2").shortName = "MAP~1.BZN";
    EXPECT_FALSE(FileExists(fp.platform, "C:\\g\\bzn\\MAP~1.BZN", true));
}

TEST_F(FileExistsTest, QuietLookupErrorAnswersFalseWithoutMessage) {
    fp.files.Fail({"find", "", err::DeviceUnavailable, 0, true});
    EXPECT_FALSE(FileExists(fp.platform, "A:\\x.bzn", true));
    EXPECT_TRUE(fp.ui.events.empty());
}

TEST_F(FileExistsTest, LoudLookupErrorResetsPointerAndShowsOneMessage) {
    fp.files.Fail({"find", "", err::DeviceUnavailable, 0, true});
    EXPECT_FALSE(FileExists(fp.platform, "A:\\x.bzn", false));
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt,
              "Fehler 68 beim Test auf Datei A:\\x.bzn. " + StandardDescription(68));
    EXPECT_EQ(fp.ui.boxes[0].style, 16);
    EXPECT_EQ(fp.ui.boxes[0].title, "Varno SubSystem Error");
    EXPECT_EQ(fp.ui.events, (std::vector<std::string>{"pointer", "box:Varno SubSystem Error"}));
}

} // namespace
} // namespace kolvek

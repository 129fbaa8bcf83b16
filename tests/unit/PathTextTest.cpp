#include "platform/PathText.h"
#include "fake/FakeTextRules.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

TEST(PathText, DrivesRootsAndClosingBackslashes) {
    const struct {
        const char* path;
        const char* drive;
        bool startsWithRoot;
        bool isRoot;
        const char* belowRoot;
        const char* withBackslash;
        const char* withoutBackslash;
        const char* folder;
        const char* name;
    } rows[] = {
        {"E:\\", "E:", true, true, "", "E:\\", "E:\\", "E:\\", ""},
        {"e:\\", "e:", true, true, "", "e:\\", "e:\\", "e:\\", ""},
        {"E:\\RunA2-1.bat", "E:", true, false, "RunA2-1.bat", "E:\\RunA2-1.bat\\",
         "E:\\RunA2-1.bat", "E:\\", "RunA2-1.bat"},
        {"z:\\Spiele\\A2\\", "z:", true, false, "Spiele\\A2\\", "z:\\Spiele\\A2\\",
         "z:\\Spiele\\A2", "z:\\Spiele\\A2", ""},
        {"C:\\Spiele\\A2", "C:", true, false, "Spiele\\A2", "C:\\Spiele\\A2\\", "C:\\Spiele\\A2",
         "C:\\Spiele", "A2"},
        {"E:", "E:", false, false, "E:", "E:\\", "E:", "", "E:"},
        {"C:Spiele\\A2", "C:", false, false, "C:Spiele\\A2", "C:Spiele\\A2\\", "C:Spiele\\A2",
         "C:Spiele", "A2"},
        {"\\\\server\\share\\A2\\", "", false, false, "\\\\server\\share\\A2\\",
         "\\\\server\\share\\A2\\", "\\\\server\\share\\A2", "\\\\server\\share\\A2", ""},
        {"1:\\", "", false, false, "1:\\", "1:\\", "1:", "1:", ""},
        {"armada2.exe", "", false, false, "armada2.exe", "armada2.exe\\", "armada2.exe", "",
         "armada2.exe"},
        {"", "", false, false, "", "\\", "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(DriveOf(row.path), row.drive);
        EXPECT_EQ(StartsWithDriveRoot(row.path), row.startsWithRoot);
        EXPECT_EQ(IsDriveRoot(row.path), row.isRoot);
        EXPECT_EQ(BelowDriveRoot(row.path), row.belowRoot);
        EXPECT_EQ(WithClosingBackslash(row.path), row.withBackslash);
        EXPECT_EQ(WithoutClosingBackslash(row.path), row.withoutBackslash);
        EXPECT_EQ(FolderOf(row.path), row.folder);
        EXPECT_EQ(NameOf(row.path), row.name);
        EXPECT_EQ(JoinPath(row.path, "x"), std::string(row.withBackslash) + "x");
    }
}

TEST(PathText, LiesInComparesWholePartsIgnoringCase) {
    const fake::FakeTextRules text;
    const struct {
        const char* path;
        const char* folder;
        bool liesIn;
    } rows[] = {
        {"C:\\Program Files\\KOLVEK", "C:\\Program Files", true},
        {"c:\\PROGRAM FILES\\KOLVEK", "C:\\Program Files\\", true},
        {"C:\\Program Files", "C:\\Program Files", true},
        {"C:\\Program Files\\", "C:\\Program Files", true},
        {"C:\\Program Files Games\\KOLVEK", "C:\\Program Files", false},
        {"C:\\Program", "C:\\Program Files", false},
        {"D:\\Program Files\\KOLVEK", "C:\\Program Files", false},
        {"E:\\KOLVEK", "E:\\", true},
        {"C:\\KOLVEK", "", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LiesIn(text, row.path, row.folder), row.liesIn)
            << row.path << " in " << row.folder;
}

} // namespace
} // namespace kolvek

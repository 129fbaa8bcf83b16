// The file test against the disk, through the Win32 directory lookup.

#include "Win32TestSupport.h"
#include "files/USysMdlFileDirHandle.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

using USysMdlFileDirHandle::FileExists;
using wintest::WriteBytes;

TEST(FileExistsOnDisk, OnlyAnOrdinaryFileUnderItsOwnNameCounts) {
    wintest::TempFolder folder;
    wintest::TestPlatform test(folder.Path());
    WriteBytes(folder / "Map1.bzn", "x");
    WriteBytes(folder / "\xCE\xA3igma.bzn", "x"); // Σigma.bzn
    WriteBytes(folder / "\xC3\x9C"
                        "bung.bzn",
               "x"); // Übung.bzn
    WriteBytes(folder / "hidden.bzn", "");
    wintest::SetAttributes(folder / "hidden.bzn", FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(folder / "system.bzn", "");
    wintest::SetAttributes(folder / "system.bzn", FILE_ATTRIBUTE_SYSTEM);
    WriteBytes(folder / "readonly.bzn", "");
    wintest::SetAttributes(folder / "readonly.bzn", FILE_ATTRIBUTE_READONLY);
    wintest::MakeFolder(folder / "bzn");

    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {folder / "Map1.bzn", true},
        {folder / "MAP1.BZN", true},
        {folder / "map1.bzn", true},
        // Letters beyond ASCII and Latin-1 have a case too: σ is the small Σ.
        {folder / "\xCF\x83igma.bzn", true},
        {folder / "\xC3\xBC"
                  "BUNG.BZN",
         true}, // üBUNG.BZN
        {folder / "readonly.bzn", true},
        {folder / "hidden.bzn", false},
        {folder / "system.bzn", false},
        {folder / "bzn", false},
        {folder / "bzn\\", false},
        {folder / "*.bzn", false},
        {folder / "Map?.bzn", false},
        {folder / "Map2.bzn", false},
        {folder / "missing\\Map1.bzn", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.exists, FileExists(test.platform, c.path, true));
    }
    EXPECT_TRUE(test.ui.messages.empty());
}

TEST(FileExistsOnDisk, LookupErrorIsReportedOnlyWhenNotQuiet) {
    wintest::TempFolder folder;
    wintest::TestPlatform test(folder.Path());
    const std::string path = wintest::MissingDriveRoot() + "ATVI";

    EXPECT_FALSE(FileExists(test.platform, path, true));
    EXPECT_TRUE(test.ui.messages.empty());

    EXPECT_FALSE(FileExists(test.platform, path, false));
    ASSERT_EQ(1u, test.ui.messages.size());
    EXPECT_EQ("Fehler 68 beim Test auf Datei " + path + ". " +
                  StandardDescription(err::DeviceUnavailable),
              test.ui.messages[0].prompt);
    EXPECT_EQ("Varno SubSystem Error", test.ui.messages[0].title);
}

} // namespace
} // namespace kolvek

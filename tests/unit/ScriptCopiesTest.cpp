#include "config/ScriptCopies.h"
#include "fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace kolvek {
namespace {

// The copies' own folder in the temporary folder.
const char kTemp[] = "C:\\Users\\Spieler\\AppData\\Local\\Temp\\KOLVEK";

class ScriptCopiesTest : public ::testing::Test {
protected:
    std::string NewCopy() { return WriteScriptCopy(fp.platform, {"C:", "cd \"C:\\A2\"", "x"}); }
    fake::FakePlatform fp;
    std::unique_ptr<ScriptCopies> copies = std::make_unique<ScriptCopies>(fp.platform);
};

TEST_F(ScriptCopiesTest, CopyIsWrittenInTheConsoleCodePageUnderANameOfItsOwn) {
    const std::string first = WriteScriptCopy(fp.platform, {"cd \"C:\\Übungen\""});
    const std::string second = WriteScriptCopy(fp.platform, {"x"});
    EXPECT_EQ(fp.files.Bytes(first), "cd \"C:\\\x9A"
                                     "bungen\"\r\n");
    EXPECT_NE(first, second);
    EXPECT_EQ(first, std::string(kTemp) + "\\RunA2-00000001.bat");
}

TEST_F(ScriptCopiesTest, StartRunsTheSystemsCmdInTheCopysFolderWithOnlyItsName) {
    // A temporary folder whose name cmd would expand or split, were it on
    // the command line.
    fp.process.temporaryFolder = "C:\\Users\\Spieler %OS%\\Temp & Co";
    fp.files.AddFolder(fp.process.temporaryFolder);
    const std::string copy = NewCopy();
    copies->Start(copy, window_style::MinimizedFocus).Run();

    ASSERT_EQ(fp.process.started.size(), 1u);
    const auto& started = fp.process.started[0];
    EXPECT_EQ(started.application, "C:\\Windows\\System32\\cmd.exe");
    EXPECT_EQ(started.commandLine, "cmd.exe /d /e:on /v:off /c .\\RunA2-00000001.bat");
    EXPECT_EQ(started.workingFolder, "C:\\Users\\Spieler %OS%\\Temp & Co\\KOLVEK");
    EXPECT_EQ(started.windowStyle, 2);
}

TEST_F(ScriptCopiesTest, CopiesGoOnceTheirCmdHasEndedAtTheNextStartAndAtTheEnd) {
    const std::string first = NewCopy();
    copies->Start(first, 2).Run();
    const std::string second = NewCopy();
    copies->Start(second, 2).Run();
    EXPECT_TRUE(fp.files.Exists(first));

    fp.process.started[0].End();
    const std::string third = NewCopy();
    copies->Start(third, 2).Run();
    EXPECT_FALSE(fp.files.Exists(first));
    EXPECT_TRUE(fp.files.Exists(second)); // its cmd still runs
    EXPECT_TRUE(fp.files.Exists(third));

    fp.process.started[2].End();
    copies.reset(); // the dialog goes
    EXPECT_TRUE(fp.files.Exists(second));
    EXPECT_FALSE(fp.files.Exists(third));
}

TEST_F(ScriptCopiesTest, CopyThatCannotGoYetIsNoReasonToStop) {
    const std::string copy = NewCopy();
    copies->Start(copy, 2).Run();
    fp.process.started[0].End();
    fp.files.Fail({"remove", "RunA2-", err::PermissionDenied, 0, true});
    copies->RemoveEnded();
    EXPECT_TRUE(fp.files.Exists(copy));
    // This run forgets it: a later start's clean-up takes it.
    fp.files.now += std::chrono::minutes(1);
    copies->RemoveLeftovers();
    EXPECT_FALSE(fp.files.Exists(copy));
}

TEST_F(ScriptCopiesTest, FailedStartRemovesTheCopyAndPassesTheErrorOn) {
    for (const std::int32_t number : {err::FileNotFound, err::OutOfMemory}) {
        const std::string copy = NewCopy();
        fp.process.startFailure = number;
        EXPECT_ANY_THROW(copies->Start(copy, 2).Run());
        EXPECT_FALSE(fp.files.Exists(copy));
    }
    // The removal's own lack of memory leaves the copy to a later start and
    // never replaces the start's error.
    const std::string copy = NewCopy();
    fp.process.startFailure = err::FileNotFound;
    fp.files.Fail({"remove", copy, err::OutOfMemory});
    EXPECT_THROW(copies->Start(copy, 2).Run(), RuntimeError);
    EXPECT_TRUE(fp.files.Exists(copy));
}

TEST_F(ScriptCopiesTest, HeldStartsAtOnceHaveRoomToBeKept) {
    const std::string first = NewCopy(), second = NewCopy();
    HeldStart held = copies->Start(first, 2);
    copies->Start(second, 2).Run();
    held.Run();
    EXPECT_EQ(fp.process.started.size(), 2u);
}

TEST_F(ScriptCopiesTest, UndoOfAFailedRunThatRunsOutOfMemoryLeavesTheCopyToALaterStart) {
    const std::string copy = NewCopy();
    fp.process.runFailure = err::DeviceIoError;
    fp.files.Fail({"remove", copy, err::OutOfMemory, 0, true});
    EXPECT_THROW(copies->Start(copy, 2).Run(), RuntimeError); // the undo's own error stays in
    EXPECT_EQ(fp.process.endedUnrun, 1);
    fp.files.now += std::chrono::minutes(1);
    copies->RemoveLeftovers();
    EXPECT_FALSE(fp.files.Exists(copy));
}

TEST_F(ScriptCopiesTest, LeftoversOfEarlierRunsGoOnceAMinuteFromTheClockAndEverythingElseStays) {
    using namespace std::chrono_literals;
    const std::string temp = std::string(kTemp) + "\\";
    const struct {
        const char* name;
        std::chrono::seconds age;
        bool goes;
    } rows[] = {
        {"RunA2-1A2B-01D9C3F0AB12CD34-1.bat", 5h, true},
        {"RunA2-00000006.bat", 61s, true},
        {"RunA2-00000007.bat", 60s, true},
        {"RunA2-00000008.bat", 59s, false}, // another start's launch, perhaps not read yet
        // Ahead of the clock: a rounded FAT time or a server's clock.
        {"RunA2-00000009.bat", -2s, false},
        {"RunA2-0000000A.bat", -59s, false},
        {"RunA2-0000000B.bat", -61s, true},
        {"RunA2-0000000C.bat", 5h, false}, // its time cannot be read
    };
    fp.files.Fail({"age", "RunA2-0000000C", err::PermissionDenied});
    fp.files.now = 6h;
    for (const auto& row : rows)
        fp.files.AddFile(temp + row.name).written = fp.files.now - row.age;
    for (const char* name : {"RunA2-notes.bat", "RunA2-.bat", "RunA2-12.txt", "runa2.bat",
                             "setup.bat", "RunA2-12.bat.bak"})
        fp.files.AddFile(temp + name, "other");
    const std::string running = NewCopy();
    copies->Start(running, 2).Run();

    copies->RemoveLeftovers();
    for (const auto& row : rows)
        EXPECT_EQ(fp.files.Exists(temp + row.name), !row.goes) << row.name;
    EXPECT_TRUE(fp.files.Exists(running));
    EXPECT_EQ(fp.files.ListFiles(temp).size(), 11u);
    // The temporary folder itself, which may hold tens of thousands of
    // files, is never read.
    for (const std::string& call : fp.files.Calls())
        EXPECT_NE(call, "list " + fp.process.temporaryFolder);
}

TEST_F(ScriptCopiesTest, WithoutAUsableTemporaryFolderCopiesGoBesideRunA2) {
    fp.process.temporaryFolder = "C:\\Gibt\\Es\\Nicht";
    fp.files.AddFile("C:\\KOLVEK\\RunA2-0A.bat", "old");
    fp.files.now += std::chrono::minutes(1);
    EXPECT_NO_THROW(copies->RemoveLeftovers());
    EXPECT_FALSE(fp.files.Exists("C:\\KOLVEK\\RunA2-0A.bat"));

    const std::string copy = NewCopy();
    EXPECT_EQ(copy.rfind("C:\\KOLVEK\\RunA2-", 0), 0u) << copy;
    copies->Start(copy, 2).Run();
    EXPECT_EQ(fp.process.started[0].workingFolder, "C:\\KOLVEK");
    // Neither folder: the error passes on.
    fp.files.At("C:\\KOLVEK").readOnly = true;
    EXPECT_THROW(NewCopy(), RuntimeError);
}

// Where the system virtualizes the program folder, cmd.exe might not see a
// copy there.
TEST_F(ScriptCopiesTest, NoCopyBesideRunA2InAFolderTheSystemVirtualizes) {
    fp.process.temporaryFolder = "C:\\Gibt\\Es\\Nicht";
    fp.process.virtualizedFolders = {"C:\\Program Files", "C:\\Program Files (x86)",
                                     "C:\\ProgramData\\", "C:\\Windows"};
    fp.files.AddFolder("C:\\Program Files (x86)\\KOLVEK");
    fp.files.At("C:\\Program Files (x86)").shortName = "PROGRA~2";
    const struct {
        const char* programFolder;
        bool refused;
    } rows[] = {
        {"C:\\Program Files\\KOLVEK", true},  {"c:\\program files (X86)\\Tools", true},
        {"C:\\PROGRA~2\\KOLVEK", true},       {"C:\\ProgramData", true},
        {"C:\\Windows\\KOLVEK", true},        {"C:\\Program Files Games\\KOLVEK", false},
        {"D:\\Program Files\\KOLVEK", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.programFolder);
        fp.process.programFolder = row.programFolder;
        if (!row.refused)
            fp.files.AddFolder(row.programFolder);
        const std::size_t before = fp.files.AllPaths().size();
        try {
            NewCopy();
            EXPECT_FALSE(row.refused);
        } catch (const RuntimeError& error) {
            EXPECT_TRUE(row.refused);
            EXPECT_EQ(error.Number(), err::PathFileAccessError);
        }
        EXPECT_EQ(fp.files.AllPaths().size(), before + (row.refused ? 0 : 1));
    }
}

TEST(ScriptCopyName, OnlyThePrefixHexadecimalPartAndExtension) {
    EXPECT_TRUE(IsScriptCopyName("RunA2-0.bat"));
    EXPECT_TRUE(IsScriptCopyName("RunA2-ABCDEF-abcdef-0123456789.bat"));
    EXPECT_FALSE(IsScriptCopyName("RunA2-.bat"));
    EXPECT_FALSE(IsScriptCopyName("RunA2-0g.bat"));
    EXPECT_FALSE(IsScriptCopyName("RunA2-0 .bat"));
    EXPECT_FALSE(IsScriptCopyName("RunA2-0.bat.txt"));
    EXPECT_FALSE(IsScriptCopyName("runa2-0.bat"));
    EXPECT_FALSE(IsScriptCopyName("RunA2.bat"));
}

} // namespace
} // namespace kolvek

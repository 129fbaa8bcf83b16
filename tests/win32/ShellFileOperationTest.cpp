// The shell file-operation wrapper against the real shell: every test works in
// a temporary folder of its own and checks what is on disk afterwards.

#include "Win32TestSupport.h"
#include "files/CmdlSHFileOperation.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32TextCodec.h"

#include "platform/win32/Win32Api.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

namespace kolvek {
namespace {

// Wine's shell differs from Windows' in a few places; the tests that meet
// those places say what each one does.
bool RunningOnWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class ShellFileOperationTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.emplace("kolvek-shellop");
        // Nothing in these tests may wait for a user.
        op.ConfirmOperation(false);
        op.SilentMode(true);
    }

    void TearDown() override {
        const std::string path = folder_->Path();
        folder_.reset();
        EXPECT_FALSE(wintest::PathExists(path)) << "temporary folder left behind";
    }

    // The full UTF-8 path of `name` inside the test's folder.
    std::string Path(const std::string& name) const { return *folder_ / name; }

    void WriteFile(const std::string& name, const std::string& content) const {
        wintest::WriteBytes(Path(name), content);
    }

    void MakeFolder(const std::string& name) const { wintest::MakeFolder(Path(name)); }

    // The file's bytes, or "<missing>" when there is no such file.
    std::string Content(const std::string& name) const {
        if (!wintest::PathExists(Path(name)) || IsFolder(name))
            return "<missing>";
        return wintest::ReadBytes(Path(name));
    }

    bool IsFolder(const std::string& name) const {
        const DWORD attributes = GetFileAttributesW(Widen(Path(name)).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    // The names (files and folders) directly inside `sub` ("" for the test's
    // folder itself), sorted.
    std::set<std::string> Listing(const std::string& sub = "") const {
        std::set<std::string> names;
        const std::string folder = sub.empty() ? folder_->Path() : Path(sub);
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::string name = Narrow(found.cFileName);
            if (name != "." && name != "..")
                names.insert(name);
        } while (FindNextFileW(find, &found));
        FindClose(find);
        return names;
    }

    Win32Shell shell;
    Win32TextCodec codec;
    CmdlSHFileOperation op{shell, codec};

private:
    std::optional<wintest::TempFolder> folder_;
};

using NameSet = std::set<std::string>;

TEST_F(ShellFileOperationTest, CopyLeavesTheSourceAndWritesTheDestination) {
    WriteFile("a.bzn", "map A");
    op.AddSourceFile(Path("a.bzn"));
    op.AddDestFile(Path("b.bzn"));

    EXPECT_TRUE(op.CopyFiles());

    EXPECT_EQ(Listing(), (NameSet{"a.bzn", "b.bzn"}));
    EXPECT_EQ(Content("a.bzn"), "map A");
    EXPECT_EQ(Content("b.bzn"), "map A");
}

TEST_F(ShellFileOperationTest, MoveIntoAFolderTakesTheFileAway) {
    WriteFile("a.bzn", "map A");
    MakeFolder("bzn");
    op.AddSourceFile(Path("a.bzn"));
    op.AddDestFile(Path("bzn"));

    EXPECT_TRUE(op.MoveFiles());

    EXPECT_EQ(Listing(), (NameSet{"bzn"}));
    EXPECT_EQ(Content("bzn\\a.bzn"), "map A");
}

TEST_F(ShellFileOperationTest, RenameGivesTheFileItsNewName) {
    WriteFile("old.bzn", "map");
    op.AddSourceFile(Path("old.bzn"));
    op.AddDestFile(Path("new.bzn"));

    EXPECT_TRUE(op.RenameFiles());

    EXPECT_EQ(Listing(), (NameSet{"new.bzn"}));
    EXPECT_EQ(Content("new.bzn"), "map");
}

TEST_F(ShellFileOperationTest, DeleteRemovesEveryListedFile) {
    WriteFile("a.bzn", "A");
    WriteFile("b.bzn", "B");
    WriteFile("keep.bzn", "K");
    op.AddSourceFile(Path("a.bzn"));
    op.AddSourceFile(Path("b.bzn"));

    EXPECT_TRUE(op.DeleteFiles());

    EXPECT_EQ(Listing(), (NameSet{"keep.bzn"}));
}

TEST_F(ShellFileOperationTest, TwoDestinationsCopyEachSourceToItsOwnName) {
    WriteFile("a.bzn", "A");
    WriteFile("b.bzn", "B");
    op.AddSourceFile(Path("a.bzn"));
    op.AddSourceFile(Path("b.bzn"));
    op.AddDestFile(Path("x.bzn"));
    op.AddDestFile(Path("y.bzn"));

    EXPECT_TRUE(op.CopyFiles());

    EXPECT_EQ(Listing(), (NameSet{"a.bzn", "b.bzn", "x.bzn", "y.bzn"}));
    EXPECT_EQ(Content("x.bzn"), "A");
    EXPECT_EQ(Content("y.bzn"), "B");
}

TEST_F(ShellFileOperationTest, WildcardCopyTakesOnlyMatchingFiles) {
    WriteFile("a.bzn", "A");
    WriteFile("b.bzn", "B");
    WriteFile("notes.txt", "N");
    MakeFolder("out");
    op.AddSourceFile(Path("*.bzn"));
    op.AddDestFile(Path("out"));

    EXPECT_TRUE(op.CopyFiles());

    EXPECT_EQ(Listing("out"), (NameSet{"a.bzn", "b.bzn"}));
    EXPECT_EQ(Content("out\\a.bzn"), "A");
    EXPECT_EQ(Content("out\\b.bzn"), "B");
    EXPECT_EQ(Content("a.bzn"), "A");
}

TEST_F(ShellFileOperationTest, WildcardMoveTakesTheMatchAndLeavesTheRest) {
    WriteFile("a.bzn", "A");
    WriteFile("a.txt", "T");
    MakeFolder("out");
    op.AddSourceFile(Path("*.bzn"));
    op.AddDestFile(Path("out"));

    EXPECT_TRUE(op.MoveFiles());

    EXPECT_EQ(Listing(), (NameSet{"a.txt", "out"}));
    EXPECT_EQ(Listing("out"), (NameSet{"a.bzn"}));
    EXPECT_EQ(Content("out\\a.bzn"), "A");
}

TEST_F(ShellFileOperationTest, MovingSeveralFilesIntoOneFolder) {
    WriteFile("a.bzn", "A");
    WriteFile("b.bzn", "B");
    WriteFile("notes.txt", "N");
    MakeFolder("out");
    op.AddSourceFile(Path("*.bzn"));
    op.AddDestFile(Path("out"));

    const bool moved = op.MoveFiles();

    if (RunningOnWine()) {
        // Wine (8.0) refuses to move more than one file into a single
        // destination folder unless FOF_MULTIDESTFILES is set: it answers
        // ERROR_CANCELLED with fAnyOperationsAborted set and moves nothing,
        // whether the names come from a wildcard or are listed one by one.
        EXPECT_FALSE(moved);
        EXPECT_EQ(Listing(), (NameSet{"a.bzn", "b.bzn", "notes.txt", "out"}));
        EXPECT_EQ(Listing("out"), NameSet{});
    } else {
        EXPECT_TRUE(moved);
        EXPECT_EQ(Listing(), (NameSet{"notes.txt", "out"}));
        EXPECT_EQ(Listing("out"), (NameSet{"a.bzn", "b.bzn"}));
    }
}

TEST_F(ShellFileOperationTest, WildcardDeleteRemovesMatchesOnly) {
    WriteFile("a.bzn", "A");
    WriteFile("b.bzn", "B");
    WriteFile("notes.txt", "N");
    op.AddSourceFile(Path("*.bzn"));

    EXPECT_TRUE(op.DeleteFiles());

    EXPECT_EQ(Listing(), (NameSet{"notes.txt"}));
}

TEST_F(ShellFileOperationTest, WildcardCopyTakesFoldersUnlessFilesOnly) {
    MakeFolder("src");
    MakeFolder("src\\maps.bzn");
    WriteFile("src\\maps.bzn\\inner.bzn", "I");
    WriteFile("src\\a.bzn", "A");
    MakeFolder("all");
    MakeFolder("files");
    op.AddSourceFile(Path("src\\*.bzn"));

    op.AddDestFile(Path("all"));
    EXPECT_TRUE(op.CopyFiles());
    op.ClearDestFiles();
    op.AddDestFile(Path("files"));
    op.IncludeDirectories(false);
    EXPECT_TRUE(op.CopyFiles());

    EXPECT_EQ(Listing("all"), (NameSet{"a.bzn", "maps.bzn"}));
    EXPECT_TRUE(IsFolder("all\\maps.bzn"));
    EXPECT_EQ(Content("all\\maps.bzn\\inner.bzn"), "I");
    EXPECT_EQ(Listing("files"), (NameSet{"a.bzn"}));
    EXPECT_EQ(Content("files\\a.bzn"), "A");
}

TEST_F(ShellFileOperationTest, RenameOnCollisionKeepsTheTakenNameAndAddsANewOne) {
    MakeFolder("src");
    MakeFolder("out");
    WriteFile("src\\a.bzn", "new");
    WriteFile("out\\a.bzn", "old");
    op.AddSourceFile(Path("src\\a.bzn"));
    op.AddDestFile(Path("out"));
    op.RenameOnCollision(true);

    EXPECT_TRUE(op.CopyFiles());

    EXPECT_EQ(Content("src\\a.bzn"), "new");
    if (RunningOnWine()) {
        // Wine (8.0) ignores FOF_RENAMEONCOLLISION: with confirmation off the
        // copy simply replaces the file that holds the name.
        EXPECT_EQ(Listing("out"), (NameSet{"a.bzn"}));
        EXPECT_EQ(Content("out\\a.bzn"), "new");
        return;
    }
    const NameSet names = Listing("out");
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(Content("out\\a.bzn"), "old");
    for (const std::string& name : names) {
        if (name != "a.bzn") {
            EXPECT_EQ(Content("out\\" + name), "new") << name;
        }
    }
}

TEST_F(ShellFileOperationTest, WildcardDeleteWithFilesOnlyLeavesTheFolder) {
    WriteFile("a.bzn", "A");
    MakeFolder("maps.bzn");
    WriteFile("maps.bzn\\inner.bzn", "I");
    op.AddSourceFile(Path("*.bzn"));
    op.IncludeDirectories(false);

    EXPECT_TRUE(op.DeleteFiles());

    EXPECT_EQ(Listing(), (NameSet{"maps.bzn"}));
    EXPECT_EQ(Content("maps.bzn\\inner.bzn"), "I");
}

TEST_F(ShellFileOperationTest, DeleteOfAMissingFileAnswersFalse) {
    WriteFile("other.bzn", "O");
    op.AddSourceFile(Path("missing.bzn"));

    EXPECT_FALSE(op.DeleteFiles());

    EXPECT_EQ(Listing(), (NameSet{"other.bzn"}));
}

TEST_F(ShellFileOperationTest, RecycleTakesOnlyTheOneFileNamedInFullEvenBeyondTheCodePage) {
    const std::string map = "\xCE\xA3igma.bzn"; // "Σigma.bzn", "?igma.bzn" in 1252
    WriteFile(map, "S");
    WriteFile("xigma.bzn", "X");
    for (const std::string& name : {Path("?igma.bzn"), Path("*.bzn"), map}) {
        try {
            shell.RecycleFile(name);
            ADD_FAILURE() << name << " was taken as a wildcard or relative to the current folder";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), err::BadFileName) << name;
        }
    }
    shell.RecycleFile(Path(map));
    EXPECT_EQ(Listing(), (NameSet{"xigma.bzn"}));
}

TEST_F(ShellFileOperationTest, UmlautNamesReachTheDiskThroughTheAnsiCodePage) {
    const std::string source = "\xC3\x9C"
                               "bung.bzn"; // "Übung.bzn"
    const std::string dest = "Gr\xC3\xB6\xC3\x9F"
                             "e.bzn"; // "Größe.bzn"
    if (codec.FromUtf8(source, CodePage::Ansi).find('?') != std::string::npos)
        GTEST_SKIP() << "the ANSI code page cannot hold these names";
    WriteFile(source, "U");
    op.AddSourceFile(Path(source));
    op.AddDestFile(Path(dest));

    EXPECT_TRUE(op.CopyFiles());

    EXPECT_EQ(Listing(), (NameSet{source, dest}));
    EXPECT_EQ(Content(dest), "U");
}

} // namespace
} // namespace kolvek

#include "files/CmdlSHFileOperation.h"
#include "platform/RuntimeError.h"

#include "fake/FakeShell.h"
#include "fake/FakeTextCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace kolvek {
namespace {

using fake::FakeShell;

// The Western European code pages, refusing zero bytes: a name list may only
// reach it one name at a time, since a real conversion could stop at a zero.
class NameCodec : public fake::FakeTextCodec {
public:
    std::string FromUtf8(const std::string& utf8, CodePage page) const override {
        if (utf8.find('\0') != std::string::npos)
            ADD_FAILURE() << "zero byte handed to the codec";
        return FakeTextCodec::FromUtf8(utf8, page);
    }
};

// The literal's bytes with its embedded zeros, without the implicit terminator.
template <std::size_t N> std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

class CmdlSHFileOperationTest : public ::testing::Test {
protected:
    NameCodec codec;
    fake::FakeFileSystem files{codec};
    FakeShell shell{files};
    CmdlSHFileOperation op{shell, codec};

    const ShellFileOpRequest& Only() {
        EXPECT_EQ(shell.requests.size(), 1u);
        return shell.requests.back();
    }
};

TEST_F(CmdlSHFileOperationTest, NewObjectHasTheDocumentedDefaults) {
    EXPECT_FALSE(op.AllowUndo());
    EXPECT_TRUE(op.ConfirmMakeDir());
    EXPECT_TRUE(op.ConfirmOperation());
    EXPECT_EQ(op.CustomText(), "");
    EXPECT_TRUE(op.IncludeDirectories());
    EXPECT_EQ(op.ParentWnd(), 0u);
    EXPECT_FALSE(op.RenameOnCollision());
    EXPECT_FALSE(op.SilentMode());
}

TEST_F(CmdlSHFileOperationTest, DefaultsWithOneDestinationPassNoFlagsAndTheOwnerWindow) {
    op.AddSourceFile("C:\\a.txt");
    op.AddDestFile("D:\\");
    EXPECT_TRUE(op.CopyFiles());
    EXPECT_EQ(Only().flags, 0);
    EXPECT_EQ(Only().ownerWindow, 0u);

    shell.requests.clear();
    op.ParentWnd(0x0001A2B4u);
    EXPECT_EQ(op.ParentWnd(), 0x0001A2B4u);
    op.CopyFiles();
    EXPECT_EQ(Only().ownerWindow, 0x0001A2B4u);
}

TEST_F(CmdlSHFileOperationTest, EachMethodPassesItsOperationCode) {
    const struct {
        const char* name;
        std::function<bool(CmdlSHFileOperation&)> run;
        std::uint32_t code;
    } rows[] = {
        {"MoveFiles", [](CmdlSHFileOperation& o) { return o.MoveFiles(); }, 1},
        {"CopyFiles", [](CmdlSHFileOperation& o) { return o.CopyFiles(); }, 2},
        {"DeleteFiles", [](CmdlSHFileOperation& o) { return o.DeleteFiles(); }, 3},
        {"RenameFiles", [](CmdlSHFileOperation& o) { return o.RenameFiles(); }, 4},
    };
    op.AddSourceFile("a");
    for (const auto& row : rows) {
        shell.requests.clear();
        EXPECT_TRUE(row.run(op)) << row.name;
        EXPECT_EQ(Only().function, row.code) << row.name;
    }
}

struct FlagRow {
    const char* label;
    bool allowUndo, confirmMakeDir, confirmOperation, includeDirectories, renameOnCollision,
        silentMode;
    std::uint16_t flags;
};

TEST_F(CmdlSHFileOperationTest, SettingsMapToShellFlags) {
    // clang-format off
    const FlagRow rows[] = {
        // label                 undo   mkdir  oper   dirs   rename silent flags
        {"defaults",              false, true,  true,  true,  false, false, 0},
        {"AllowUndo",             true,  true,  true,  true,  false, false, 0x40},
        {"no ConfirmMakeDir",     false, false, true,  true,  false, false, 0x200},
        {"no ConfirmOperation",   false, true,  false, true,  false, false, 0x10},
        {"no IncludeDirectories", false, true,  true,  false, false, false, 0x80},
        {"RenameOnCollision",     false, true,  true,  true,  true,  false, 0x8},
        {"SilentMode",            false, true,  true,  true,  false, true,  0x4},
        {"silent, no prompts",    false, true,  false, true,  false, true,  0x14},
        {"undo, files only",      true,  true,  true,  false, false, false, 0xC0},
        {"everything switched",   true,  false, false, false, true,  true,  0x2DC},
    };
    // clang-format on
    op.AddSourceFile("a");
    for (const FlagRow& row : rows) {
        op.AllowUndo(row.allowUndo);
        op.ConfirmMakeDir(row.confirmMakeDir);
        op.ConfirmOperation(row.confirmOperation);
        op.IncludeDirectories(row.includeDirectories);
        op.RenameOnCollision(row.renameOnCollision);
        op.SilentMode(row.silentMode);
        EXPECT_EQ(op.AllowUndo(), row.allowUndo) << row.label;
        EXPECT_EQ(op.ConfirmMakeDir(), row.confirmMakeDir) << row.label;
        EXPECT_EQ(op.ConfirmOperation(), row.confirmOperation) << row.label;
        EXPECT_EQ(op.IncludeDirectories(), row.includeDirectories) << row.label;
        EXPECT_EQ(op.RenameOnCollision(), row.renameOnCollision) << row.label;
        EXPECT_EQ(op.SilentMode(), row.silentMode) << row.label;

        shell.requests.clear();
        op.DeleteFiles();
        EXPECT_EQ(Only().flags, row.flags) << row.label;
    }
}

TEST_F(CmdlSHFileOperationTest, CustomTextAddsSimpleProgressWithItsTitle) {
    op.AddSourceFile("a");
    op.SilentMode(true);
    op.CustomText("Kopiere Karten");
    EXPECT_EQ(op.CustomText(), "Kopiere Karten");
    op.CopyFiles();
    EXPECT_EQ(Only().flags, 0x104);
    EXPECT_EQ(Only().progressTitle, Bytes("Kopiere Karten\0"));
}

TEST_F(CmdlSHFileOperationTest, EmptyCustomTextGivesNoSimpleProgressAndAnEmptyTitle) {
    op.AddSourceFile("a");
    op.CustomText("x");
    op.CustomText("");
    op.CopyFiles();
    EXPECT_EQ(Only().flags, 0);
    EXPECT_EQ(Only().progressTitle, Bytes("\0"));
}

TEST_F(CmdlSHFileOperationTest, OnlyTwoOrMoreDestinationsSetMultiDestFiles) {
    const struct {
        int destinations;
        std::uint16_t flags;
    } rows[] = {{0, 0}, {1, 0}, {2, 0x1}, {3, 0x1}};
    op.AddSourceFile("a");
    op.AddSourceFile("b");
    op.AddSourceFile("c");
    for (const auto& row : rows) {
        op.ClearDestFiles();
        for (int i = 0; i < row.destinations; ++i)
            op.AddDestFile("D:\\" + std::to_string(i));
        shell.requests.clear();
        op.MoveFiles();
        EXPECT_EQ(Only().flags, row.flags) << row.destinations << " destinations";
    }
}

TEST_F(CmdlSHFileOperationTest, NameListsAreZeroSeparatedAndEndInTwoZeros) {
    op.AddSourceFile("C:\\a.bzn");
    op.AddSourceFile("C:\\b*.bzn");
    op.AddDestFile("D:\\x.bzn");
    op.AddDestFile("D:\\y.bzn");
    op.CopyFiles();
    EXPECT_EQ(Only().from, Bytes("C:\\a.bzn\0C:\\b*.bzn\0\0"));
    EXPECT_EQ(Only().to, Bytes("D:\\x.bzn\0D:\\y.bzn\0\0"));
}

TEST_F(CmdlSHFileOperationTest, EmptyDestinationListPassesASingleZeroByte) {
    op.AddSourceFile("C:\\a.bzn");
    EXPECT_TRUE(op.DeleteFiles());
    EXPECT_EQ(Only().to, Bytes("\0"));

    // Not refused for operations that need a destination either: that is
    // for the shell to judge.
    shell.requests.clear();
    EXPECT_TRUE(op.CopyFiles());
    EXPECT_EQ(Only().to, Bytes("\0"));
}

TEST_F(CmdlSHFileOperationTest, EmptyNamesAndDuplicatesStayInTheList) {
    op.AddSourceFile("a");
    op.AddSourceFile("");
    op.AddSourceFile("a");
    op.DeleteFiles();
    EXPECT_EQ(Only().from, Bytes("a\0\0a\0\0"));
}

TEST_F(CmdlSHFileOperationTest, OperationsLeaveListsAndSettingsAlone) {
    op.AddSourceFile("a");
    op.AddSourceFile("b");
    op.AddDestFile("x");
    op.CustomText("t");
    shell.answer.returnCode = 2;
    op.CopyFiles();
    shell.answer.returnCode = 0;
    op.CopyFiles();
    op.DeleteFiles();
    ASSERT_EQ(shell.requests.size(), 3u);
    EXPECT_EQ(shell.requests[0].from, shell.requests[1].from);
    EXPECT_EQ(shell.requests[0].to, shell.requests[1].to);
    EXPECT_EQ(shell.requests[0].flags, shell.requests[1].flags);
    EXPECT_EQ(shell.requests[2].from, Bytes("a\0b\0\0"));
    EXPECT_EQ(shell.requests[2].to, Bytes("x\0\0"));
    EXPECT_EQ(op.CustomText(), "t");
}

TEST_F(CmdlSHFileOperationTest, EmptySourceListRaisesWithoutCallingTheShell) {
    const std::function<bool(CmdlSHFileOperation&)> methods[] = {
        [](CmdlSHFileOperation& o) { return o.MoveFiles(); },
        [](CmdlSHFileOperation& o) { return o.CopyFiles(); },
        [](CmdlSHFileOperation& o) { return o.DeleteFiles(); },
        [](CmdlSHFileOperation& o) { return o.RenameFiles(); },
    };
    op.AddSourceFile("a");
    op.AddDestFile("b");
    op.ClearSourceFiles();
    for (const auto& method : methods) {
        try {
            method(op);
            ADD_FAILURE() << "no error raised";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), -2147220504);
            EXPECT_EQ(e.Number(), err::NoSourceFiles);
            EXPECT_EQ(e.Description(), "No source files specified file operation");
        }
    }
    EXPECT_TRUE(shell.requests.empty());

    // A cleared list behaves like a new one: adding a name makes it work again.
    op.AddSourceFile("c");
    EXPECT_TRUE(op.CopyFiles());
    EXPECT_EQ(Only().from, Bytes("c\0\0"));
    EXPECT_EQ(Only().to, Bytes("b\0\0"));
}

TEST_F(CmdlSHFileOperationTest, SucceedsOnlyWhenTheShellReturnsZeroAndAbortsNothing) {
    const struct {
        std::int32_t returnCode;
        bool aborted;
        bool expected;
    } rows[] = {
        {0, false, true},     {0, true, false}, // the user cancelled part of it
        {2, false, false},                      // the shell's own failure code
        {0x7C, false, false}, {-1, true, false},
    };
    op.AddSourceFile("a");
    for (const auto& row : rows) {
        shell.answer.returnCode = row.returnCode;
        shell.answer.anyOperationsAborted = row.aborted;
        EXPECT_EQ(op.DeleteFiles(), row.expected)
            << "return " << row.returnCode << ", aborted " << row.aborted;
    }
}

TEST_F(CmdlSHFileOperationTest, UmlautNamesReachTheShellAsAnsiBytes) {
    op.AddSourceFile("C:\\Karten\\Übung.bzn");
    op.AddSourceFile("C:\\Karten\\Größe.bzn");
    op.AddDestFile("D:\\Bär.bzn");
    op.CustomText("Lösche…");
    op.MoveFiles();
    EXPECT_EQ(Only().from, Bytes("C:\\Karten\\\xDC"
                                 "bung.bzn\0C:\\Karten\\Gr\xF6\xDF"
                                 "e.bzn\0\0"));
    EXPECT_EQ(Only().to, Bytes("D:\\B\xE4r.bzn\0\0"));
    EXPECT_EQ(Only().progressTitle, Bytes("L\xF6sche\x85\0"));
}

} // namespace
} // namespace kolvek

// The Win32 file system against the disk: every test works in a temporary
// folder of its own and checks the bytes on disk or the names found.

#include "Win32TestSupport.h"
#include "WriteTime.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kolvek {
namespace {

using wintest::ReadBytes;
using wintest::TempFolder;
using wintest::WriteBytes;

std::vector<std::string> ReadAllLines(FileSystem& files, const std::string& path) {
    auto input = files.OpenText(path);
    std::vector<std::string> lines;
    std::string line;
    while (input->ReadLine(line))
        lines.push_back(line);
    input->Close();
    return lines;
}

std::int32_t ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    TempFolder folder;
    Win32FileSystem files;
};

TEST_F(Win32FileSystemTest, ReadingSplitsAtCrLfAndLoneCrButKeepsLoneLf) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"crlf", "[General]\r\nArmadaPath = C:\\A2\\\r\n", {"[General]", "ArmadaPath = C:\\A2\\"}},
        {"lone cr", "one\rtwo\r", {"one", "two"}},
        {"lone lf stays", "one\ntwo\r\nthree", {"one\ntwo", "three"}},
        {"no final ending", "last", {"last"}},
        {"empty lines", "\r\n\r\nx", {"", "", "x"}},
        {"empty file", "", {}},
        {"bom skipped", "\xEF\xBB\xBFk\xC3\xA4se\r\n", {"k\xC3\xA4se"}},
        {"ansi decoded", "K\xE4se \xDC\r\n", {"K\xC3\xA4se \xC3\x9C"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder / "in.txt";
        WriteBytes(path, c.bytes);
        EXPECT_EQ(c.lines, ReadAllLines(files, path));
    }
}

TEST_F(Win32FileSystemTest, ReadingALargeFileReturnsEveryLineAcrossChunks) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "line " + std::to_string(i) + "\r\n";
    WriteBytes(folder / "big.txt", bytes);
    const auto lines = ReadAllLines(files, folder / "big.txt");
    ASSERT_EQ(20000u, lines.size());
    EXPECT_EQ("line 0", lines.front());
    EXPECT_EQ("line 19999", lines.back());
}

TEST_F(Win32FileSystemTest, WritingEndsEveryLineWithCrLfInTheChosenCodePage) {
    struct Case {
        CodePage page;
        std::string expected;
    };
    // "Käse Ü" + "ß": CP1252 E4 DC DF, CP437 84 9A E1.
    const Case cases[] = {
        {CodePage::Ansi, "K\xE4se \xDC\r\n\xDF\r\n"},
        {CodePage::Oem, "K\x84se \x9A\r\n\xE1\r\n"},
    };
    for (const Case& c : cases) {
        const std::string path = folder / "out.txt";
        auto output = files.CreateText(path, c.page);
        output->WriteLine("K\xC3\xA4se \xC3\x9C");
        output->WriteLine("\xC3\x9F");
        output->Close();
        EXPECT_EQ(c.expected, ReadBytes(path));
    }
}

TEST_F(Win32FileSystemTest, CreatingEmptiesAnExistingFile) {
    const std::string path = folder / "RunA2.bat";
    WriteBytes(path, "old line one\r\nold line two\r\n");
    auto output = files.CreateText(path, CodePage::Ansi);
    output->WriteLine("new");
    output->Close();
    EXPECT_EQ("new\r\n", ReadBytes(path));
}

TEST_F(Win32FileSystemTest, CreatedAndClosedAtOnceGivesAnEmptyFile) {
    files.CreateText(folder / "ATVI", CodePage::Ansi)->Close();
    EXPECT_TRUE(wintest::PathExists(folder / "ATVI"));
    EXPECT_EQ("", ReadBytes(folder / "ATVI"));
}

TEST_F(Win32FileSystemTest, UmlautsInPathsReachTheDiskAsTheSameName) {
    const std::string path = folder / "M\xC3\xBCnchen \xC3\x9F.txt";
    auto output = files.CreateText(path, CodePage::Ansi);
    output->WriteLine("x");
    output->Close();
    EXPECT_EQ("x\r\n", ReadBytes(path));
    EXPECT_EQ("M\xC3\xBCnchen \xC3\x9F.txt", files.FirstMatchingFile(folder / "M*"));
    EXPECT_EQ(std::vector<std::string>{"x"}, ReadAllLines(files, path));
}

TEST_F(Win32FileSystemTest, ReplaceFileMovesOntoAnExistingTarget) {
    WriteBytes(folder / "kolvar.ini.tmp", "new");
    WriteBytes(folder / "kolvar.ini", "old");
    files.MoveOnto(folder / "kolvar.ini.tmp", folder / "kolvar.ini");
    EXPECT_EQ("new", ReadBytes(folder / "kolvar.ini"));
    EXPECT_FALSE(wintest::PathExists(folder / "kolvar.ini.tmp"));
}

TEST_F(Win32FileSystemTest, RemoveFileDeletesTheFile) {
    WriteBytes(folder / "map.bzn", "x");
    files.RemoveFile(folder / "map.bzn");
    EXPECT_FALSE(wintest::PathExists(folder / "map.bzn"));
}

TEST_F(Win32FileSystemTest, FailuresBecomeRunTimeErrorNumbers) {
    // A folder where a file is wanted stands for a file that cannot be
    // written: it fails with "access denied" on Windows and under Wine alike.
    wintest::MakeFolder(folder / "taken.ini");
    const std::string drive = wintest::MissingDriveRoot();
    struct Case {
        const char* name;
        std::function<void()> action;
        std::int32_t number;
    };
    const Case cases[] = {
        {"open a missing file", [&] { files.OpenText(folder / "missing.ini"); }, err::FileNotFound},
        {"open in a missing folder", [&] { files.OpenText(folder / "none\\kolvar.ini"); },
         err::PathNotFound},
        {"create in a missing folder",
         [&] { files.CreateText(folder / "none\\kolvar.ini", CodePage::Ansi); }, err::PathNotFound},
        {"create over a folder", [&] { files.CreateText(folder / "taken.ini", CodePage::Ansi); },
         err::PathFileAccessError},
        {"open a folder", [&] { files.OpenText(folder / "taken.ini"); }, err::PathFileAccessError},
        {"remove a missing file", [&] { files.RemoveFile(folder / "missing.bzn"); },
         err::FileNotFound},
        {"replace from a missing file",
         [&] { files.MoveOnto(folder / "missing", folder / "target"); }, err::FileNotFound},
        {"list a missing folder", [&] { files.ListFiles(folder / "none"); }, err::PathNotFound},
        {"find with an invalid folder name",
         [&] { files.FirstMatchingFile(folder / "a<b\\x.bzn"); }, err::BadFileName},
        {"find on a missing drive", [&] { files.FirstMatchingFile(drive + "x.bzn"); },
         err::DeviceUnavailable},
        {"list on a missing drive", [&] { files.ListFiles(drive + "bzn"); },
         err::DeviceUnavailable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.number, ErrorNumberOf(c.action));
    }
}

TEST_F(Win32FileSystemTest, CreatingOverAReadOnlyFileIsRefusedAndKeepsIt) {
    WriteBytes(folder / "readonly.ini", "x");
    wintest::SetAttributes(folder / "readonly.ini", FILE_ATTRIBUTE_READONLY);
    if (!wintest::ReadOnlyIsEnforced(folder / "readonly.ini"))
        GTEST_SKIP() << "Wine run by root ignores the read-only attribute";
    EXPECT_EQ(err::PathFileAccessError,
              ErrorNumberOf([&] { files.CreateText(folder / "readonly.ini", CodePage::Ansi); }));
    EXPECT_EQ("x", ReadBytes(folder / "readonly.ini"));
}

TEST_F(Win32FileSystemTest, FindFirstFileReportsOnlyOrdinaryFiles) {
    WriteBytes(folder / "hidden.bzn", "");
    wintest::SetAttributes(folder / "hidden.bzn", FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(folder / "system.bzn", "");
    wintest::SetAttributes(folder / "system.bzn", FILE_ATTRIBUTE_SYSTEM);
    wintest::MakeFolder(folder / "folder.bzn");
    WriteBytes(folder / "readonly.bzn", "");
    wintest::SetAttributes(folder / "readonly.bzn", FILE_ATTRIBUTE_READONLY);

    struct Case {
        std::string pattern;
        std::string found;
    };
    const Case cases[] = {
        {folder / "hidden.bzn", ""},
        {folder / "system.bzn", ""},
        {folder / "folder.bzn", ""},
        {folder / "readonly.bzn", "readonly.bzn"},
        {folder / "READONLY.BZN", "readonly.bzn"},
        {folder / "*.bzn", "readonly.bzn"},
        {folder / "r?adonly.*", "readonly.bzn"},
        {folder / "missing.bzn", ""},
        {folder / "no folder\\x.bzn", ""},
        {folder.Path(), ""},
        {folder.Path() + "\\", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(c.found, files.FirstMatchingFile(c.pattern));
    }
}

TEST_F(Win32FileSystemTest, FindFirstFileReportsTheLongName) {
    WriteBytes(folder / "A very long map name.bzn", "");
    EXPECT_EQ("A very long map name.bzn",
              files.FirstMatchingFile(folder / "a very long map name.bzn"));
}

TEST_F(Win32FileSystemTest, ListFilesNamesEveryOrdinaryFileOnce) {
    for (const char* name : {"Map1.bzn", "zweite Karte.bzn", "notes.txt", "K\xC3\xA4se.bzn"})
        WriteBytes(folder / name, "");
    WriteBytes(folder / "hidden.bzn", "");
    wintest::SetAttributes(folder / "hidden.bzn", FILE_ATTRIBUTE_HIDDEN);
    wintest::MakeFolder(folder / "sub.bzn");

    auto names = files.ListFiles(folder.Path());
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"K\xC3\xA4se.bzn", "Map1.bzn", "notes.txt",
                                               "zweite Karte.bzn"};
    EXPECT_EQ(expected, names);
    auto withBackslash = files.ListFiles(folder.Path() + "\\");
    std::sort(withBackslash.begin(), withBackslash.end());
    EXPECT_EQ(expected, withBackslash);
}

TEST_F(Win32FileSystemTest, ListFilesOfAnEmptyFolderIsEmpty) {
    EXPECT_TRUE(files.ListFiles(folder.Path()).empty());
}

TEST_F(Win32FileSystemTest, ListFilesOfAFileInsteadOfAFolderIsPathNotFound) {
    WriteBytes(folder / "plain", "");
    EXPECT_EQ(err::PathNotFound, ErrorNumberOf([&] { files.ListFiles(folder / "plain"); }));
}

TEST_F(Win32FileSystemTest, UniqueTextFilesGetNewNamesOfTheAskedForForm) {
    NewTextFile first = files.CreateUniqueText(folder.Path(), "RunA2-", ".bat", CodePage::Oem);
    first.output->WriteLine("K\xC3\xA4se");
    first.output->Close();
    NewTextFile second = files.CreateUniqueText(folder.Path(), "RunA2-", ".bat", CodePage::Oem);
    second.output->Close();
    EXPECT_NE(first.path, second.path);
    EXPECT_EQ(ReadBytes(first.path), "K\x84se\r\n"); // OEM 437
    // Just written: near the clock, on either side. Written an hour back:
    // an hour, not an hour ahead.
    EXPECT_LT(files.TimeSinceWritten(first.path), std::chrono::minutes(1));
    EXPECT_GT(files.TimeSinceWritten(first.path), -std::chrono::minutes(1));
    ASSERT_TRUE(wintest::SetWrittenSecondsAgo(Widen(second.path).c_str(), 3600));
    EXPECT_GT(files.TimeSinceWritten(second.path), std::chrono::minutes(59));
    EXPECT_LT(files.TimeSinceWritten(second.path), std::chrono::minutes(61));
    for (const std::string& path : {first.path, second.path}) {
        const std::string name = path.substr(folder.Path().size() + 1);
        ASSERT_EQ(folder / name, path);
        ASSERT_GT(name.size(), 10u);
        EXPECT_EQ(name.substr(0, 6), "RunA2-");
        EXPECT_EQ(name.substr(name.size() - 4), ".bat");
        EXPECT_EQ(std::string::npos,
                  name.substr(6, name.size() - 10).find_first_not_of("0123456789ABCDEF-"))
            << name;
    }
    EXPECT_EQ(err::PathNotFound, ErrorNumberOf([&] {
                  files.CreateUniqueText(folder / "missing", "RunA2-", ".bat", CodePage::Oem);
              }));
}

TEST_F(Win32FileSystemTest, FolderExistsOnlyForFolders) {
    WriteBytes(folder / "file", "");
    EXPECT_TRUE(files.FolderExists(folder.Path()));
    EXPECT_TRUE(files.FolderExists(folder.Path() + "\\"));
    EXPECT_FALSE(files.FolderExists(folder / "file"));
    EXPECT_FALSE(files.FolderExists(folder / "missing"));
}

TEST_F(Win32FileSystemTest, ShortPathNamesTheSameFolderInTheConsolesCodePageLongPathItsName) {
    const std::string cyrillic =
        folder / "\xD0\x90\xD1\x80\xD0\xBC\xD0\xB0\xD0\xB4\xD0\xB0"; // Армада
    wintest::MakeFolder(cyrillic);
    WriteBytes(cyrillic + "\\marker", "here");
    const std::string shortPath = files.ShortPath(cyrillic);
    // Where the volume keeps no short names the path stays as it is.
    if (shortPath == cyrillic)
        GTEST_SKIP() << "this volume keeps no short names";
    Win32TextCodec codec;
    EXPECT_EQ(codec.ToUtf8(codec.FromUtf8(shortPath, CodePage::Oem), CodePage::Oem), shortPath);
    EXPECT_EQ(ReadBytes(shortPath + "\\marker"), "here");
    EXPECT_NE(ErrorNumberOf([&] { files.ShortPath(folder / "missing"); }), 0);
    // And back: the long name where the short one stood.
    const std::string longPath = files.LongPath(shortPath);
    EXPECT_EQ(longPath.substr(longPath.rfind('\\')), cyrillic.substr(cyrillic.rfind('\\')));
}

TEST(Win32Errors, CodesMapToRunTimeErrorNumbers) {
    const std::pair<DWORD, std::int32_t> cases[] = {
        {ERROR_FILE_NOT_FOUND, 53},    {ERROR_PATH_NOT_FOUND, 76},   {ERROR_ACCESS_DENIED, 75},
        {ERROR_SHARING_VIOLATION, 70}, {ERROR_WRITE_PROTECT, 70},    {ERROR_NOT_READY, 71},
        {ERROR_INVALID_DRIVE, 68},     {ERROR_INVALID_NAME, 52},     {ERROR_BAD_PATHNAME, 52},
        {ERROR_DISK_FULL, 61},         {ERROR_HANDLE_DISK_FULL, 61}, {ERROR_NOT_ENOUGH_MEMORY, 7},
        {ERROR_OUTOFMEMORY, 7},        {ERROR_INVALID_FUNCTION, 75},
    };
    for (const auto& [code, number] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(number, RuntimeErrorNumber(code));
        try {
            ThrowWin32Error(code);
        } catch (const RuntimeError& error) {
            EXPECT_EQ(number, error.Number());
            EXPECT_EQ(StandardDescription(number), error.Description());
        }
    }
}

} // namespace
} // namespace kolvek

// Hand-written and damaged kolvar.ini files: what start-up makes of each, and
// that none of them crashes, hangs or gets rewritten.

#include "config/mdlKOLVEK.h"
#include "fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvek {
namespace {

using mdlKOLVEK::GameFolder;

const char kIni[] = "C:\\KOLVEK\\kolvar.ini";
const char kBrokenText[] = "Die KOLVAR.INI-Datei im Pfad C:\\KOLVEK ist fehlerhaft. Lösche die "
                           "Datei und starte das Programm erneut.";

struct BadFile {
    const char* what;
    std::string bytes;
    bool accepted;          // what InitializeSettings answers
    std::string gameFolder; // afterwards
    bool brokenMessage;     // the broken-file message, else no message at all
};

std::string ManyPathLines(int count) {
    std::string bytes = "[General]\r\n";
    for (int i = 0; i < count; ++i)
        bytes += "ArmadaPath = C:\\Pfad" + std::to_string(i) + "\\\r\n";
    return bytes;
}

const std::string kMegabyte(1 << 20, 'x');

std::string Repeated(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

std::vector<BadFile> BadFiles() {
    using namespace std::string_literals;
    return {
        {"empty file", "", true, "", false},
        {"only the byte-order mark", "\xEF\xBB\xBF", true, "", false},
        {"one line of 1 MB that is no path line", kMegabyte, true, "", false},
        {"value as long as the longest path, 32,767 characters",
         "ArmadaPath = C:\\" + std::string(32764, 'x'), true, "C:\\" + std::string(32764, 'x'),
         false},
        {"value one character longer than the longest path",
         "ArmadaPath = C:\\" + std::string(32765, 'x'), false, "C:\\" + std::string(32765, 'x'),
         true},
        {"path line of 1 MB", "ArmadaPath = C:\\" + kMegabyte, false, "C:\\" + kMegabyte, true},
        {"UTF-8 value whose characters beyond the BMP take 32,768 UTF-16 units",
         "\xEF\xBB\xBF"
         "ArmadaPath = " +
             Repeated("\xF0\x9F\x97\xBA", 16384),
         false, Repeated("\xF0\x9F\x97\xBA", 16384), true},
        {"binary bytes and NULs around a path line",
         "\x00\x01\x02\xFF\xFE\r\nArmadaPath = C:\\A\\\r\n\x00\x00\x7F"s, true, "C:\\A\\", false},
        {"NUL inside the value stays in it",
         "ArmadaPath = C:\\A\x00"
         "B\\\r\n"s,
         true,
         "C:\\A\x00"
         "B\\"s,
         false},
        {"NUL before the key hides the path line",
         "\x00"
         "ArmadaPath = C:\\A\\\r\n"s,
         true, "", false},
        {"lone LF ends no line, so the second key is part of the value",
         "ArmadaPath = C:\\A\\\nArmadaPath = C:\\B\\\n", true, "C:\\A\\\nArmadaPath = C:\\B\\\n",
         false},
        {"lone CR ends lines", "[General]\rArmadaPath = C:\\A\\\rX=1\r", true, "C:\\A\\", false},
        {"mixed line ends, the last path line wins",
         "ArmadaPath = C:\\A\\\r\nArmadaPath = C:\\B\\\rX=1\n\rArmadaPath = C:\\C\\", true,
         "C:\\C\\", false},
        {"no line end after the last line", "[General]\r\nArmadaPath = C:\\A\\", true, "C:\\A\\",
         false},
        {"CR LF split across the end of the file", "ArmadaPath = C:\\A\\\r", true, "C:\\A\\",
         false},
        {"UTF-8 byte-order mark before the key",
         "\xEF\xBB\xBF"
         "ArmadaPath = C:\\\xC3\x9C"
         "bungen\\\r\n",
         true, "C:\\Übungen\\", false},
        {"10,000 path lines", ManyPathLines(10000), true, "C:\\Pfad9999\\", false},
        {"path line with only blanks after the equals sign", "ArmadaPath =      \r\n", false, "",
         true},
        {"path line with a tab after the equals sign keeps the tab", "ArmadaPath =\t\r\n", true,
         "\t", false},
        {"path line without an equals sign", "[General]\r\nArmadaPath C:\\A\\\r\n", false, "",
         true},
        {"bare key prefix", "armad\r\n", false, "", true},
        {"broken path line after a good one", "ArmadaPath = C:\\A\\\r\nArmadaPath =\r\n", false, "",
         true},
        {"broken path line before a good one stops the reading",
         "ArmadaPath =\r\nArmadaPath = C:\\A\\\r\n", false, "", true},
        {"key with leading blanks is no path line", "   ArmadaPath = C:\\A\\\r\n", true, "", false},
        {"key with a leading tab is no path line", "\tArmadaPath = C:\\A\\\r\n", true, "", false},
    };
}

TEST(BadSettingsFile, EachFileGivesItsResultFolderAndMessage) {
    for (const BadFile& file : BadFiles()) {
        SCOPED_TRACE(file.what);
        fake::FakePlatform fp;
        GameFolder.clear(); // as at program start
        fp.files.AddFile(kIni, file.bytes);
        const auto before = fp.files.AllPaths();

        EXPECT_EQ(mdlKOLVEK::InitializeSettings(fp.platform), file.accepted);
        EXPECT_EQ(GameFolder, file.gameFolder);
        if (file.brokenMessage) {
            ASSERT_EQ(fp.ui.boxes.size(), 1u);
            EXPECT_EQ(fp.ui.boxes[0].prompt, kBrokenText);
            EXPECT_EQ(fp.ui.boxes[0].style, 16);
            EXPECT_EQ(fp.ui.boxes[0].title, "Fehler");
        } else {
            EXPECT_TRUE(fp.ui.boxes.empty());
        }
        EXPECT_TRUE(fp.ui.events.size() == fp.ui.boxes.size()) << "no beep on a later start";
        // A later start neither asks the registry nor touches the file.
        EXPECT_TRUE(fp.registry.openedAccess.empty());
        EXPECT_EQ(fp.files.Bytes(kIni), file.bytes);
        EXPECT_EQ(fp.files.AllPaths(), before);
    }
}

} // namespace
} // namespace kolvek

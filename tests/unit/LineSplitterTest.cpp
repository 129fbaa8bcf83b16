#include "platform/LineSplitter.h"
#include "platform/TextFileEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvek {
namespace {

std::vector<std::string> Split(const std::string& bytes, std::size_t chunk, bool* utf8 = nullptr) {
    LineSplitter splitter;
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); i += chunk) {
        splitter.Feed(bytes.data() + i, std::min(chunk, bytes.size() - i));
        while (splitter.Next(line))
            lines.push_back(line);
    }
    splitter.Finish();
    while (splitter.Next(line))
        lines.push_back(line);
    if (utf8)
        *utf8 = splitter.LinesAreUtf8();
    return lines;
}

TEST(LineSplitter, EndsLinesAtCrLfOrLoneCrButNotLoneLf) {
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } rows[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\r\n", {"a\nb"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {std::string("x\0y\r\n", 5), {std::string("x\0y", 3)}},
    };
    for (const auto& row : rows) {
        // Chunk sizes of 1 and 2 split CR LF across feeds.
        for (std::size_t chunk : {1u, 2u, 4096u})
            EXPECT_EQ(Split(row.bytes, chunk), row.lines) << "chunk " << chunk;
    }
}

TEST(LineSplitter, SkipsAByteOrderMarkOnlyAtTheStart) {
    bool utf8 = false;
    EXPECT_EQ(Split("\xEF\xBB\xBFline\r\n", 1, &utf8), std::vector<std::string>{"line"});
    EXPECT_TRUE(utf8);
    // Further on, the same bytes are a character of well-formed UTF-8.
    EXPECT_EQ(Split("a\xEF\xBB\xBF", 1, &utf8), std::vector<std::string>{"a\xEF\xBB\xBF"});
    EXPECT_TRUE(utf8);
    EXPECT_EQ(Split("\xEF\xBB", 1, &utf8), std::vector<std::string>{"\xEF\xBB"});
    EXPECT_FALSE(utf8);
}

TEST(LineSplitter, LinesOfAUtf16FileEndAsInAnyOther) {
    bool utf8 = false;
    const std::string bytes("\xFF\xFE"
                            "a\0\r\0\n\0b\0\n\0c\0\r\0\xDC\0",
                            18);
    for (std::size_t chunk : {1u, 3u, 4096u})
        EXPECT_EQ(Split(bytes, chunk, &utf8), (std::vector<std::string>{"a", "b\nc", "\xC3\x9C"}));
    EXPECT_TRUE(utf8);
}

TEST(TextFileEncoding, DecidesFromAllTheBytesHowTheFileReads) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::string bytes;
        std::string text;
        bool utf8;
    } rows[] = {
        {"empty", "", "", false},
        {"ASCII only", "ArmadaPath = C:\\A\\", "ArmadaPath = C:\\A\\", false},
        {"Notepad's UTF-8 without a mark",
         "C:\\\xC3\x9C"
         "bungen\\",
         "C:\\\xC3\x9C"
         "bungen\\",
         true},
        {"ANSI umlaut",
         "C:\\\xDC"
         "bungen\\",
         "C:\\\xDC"
         "bungen\\",
         false},
        {"UTF-8 with one ANSI byte further on", "\xC3\x9C\r\n\xDC", "\xC3\x9C\r\n\xDC", false},
        {"UTF-8 mark",
         "\xEF\xBB\xBF"
         "A",
         "A", true},
        {"UTF-8 mark before bytes that are no UTF-8", "\xEF\xBB\xBF\xDC", "\xDC", true},
        {"UTF-16 LE mark",
         "\xFF\xFE"
         "A\0\xDC\0\xAC\x20"s,
         "A\xC3\x9C\xE2\x82\xAC", true},
        {"UTF-16 LE mark only", "\xFF\xFE", "", true},
        {"UTF-16 surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, "\xF0\x9F\x98\x80", true},
        {"UTF-16 lone surrogate", "\xFF\xFE\x00\xDEx\0"s, "\xEF\xBF\xBDx", true},
        {"UTF-16 odd last byte",
         "\xFF\xFE"
         "A\0B"s,
         "A\xEF\xBF\xBD", true},
        // No rule names the big-endian mark: those bytes are no UTF-8.
        {"UTF-16 BE mark", "\xFE\xFF\0A"s, "\xFE\xFF\0A"s, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const DecodedText decoded = DecodeTextFile(row.bytes);
        EXPECT_EQ(decoded.text, row.text);
        EXPECT_EQ(decoded.utf8, row.utf8);
    }
}

} // namespace
} // namespace kolvek

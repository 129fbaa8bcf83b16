#include "platform/LineSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvek {
namespace {

std::vector<std::string> Split(const std::string& bytes, std::size_t chunk, bool* bom = nullptr) {
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
    if (bom)
        *bom = splitter.HadUtf8Bom();
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

TEST(LineSplitter, SkipsTheUtf8ByteOrderMarkOnlyAtTheStart) {
    bool bom = false;
    EXPECT_EQ(Split("\xEF\xBB\xBFline\r\n", 1, &bom), std::vector<std::string>{"line"});
    EXPECT_TRUE(bom);
    EXPECT_EQ(Split("a\xEF\xBB\xBF", 1, &bom), std::vector<std::string>{"a\xEF\xBB\xBF"});
    EXPECT_FALSE(bom);
    EXPECT_EQ(Split("\xEF\xBB", 1, &bom), std::vector<std::string>{"\xEF\xBB"});
    EXPECT_FALSE(bom);
}

} // namespace
} // namespace kolvek

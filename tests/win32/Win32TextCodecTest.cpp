#include "platform/win32/Win32TextCodec.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

TEST(Win32TextCodec, TestPrefixUsesWesternCodePages) {
    // The expectations below hold for ANSI 1252 and OEM 437, which the test
    // wrapper fixes through the locale.
    EXPECT_EQ(1252u, ::GetACP());
    EXPECT_EQ(437u, ::GetOEMCP());
}

TEST(Win32TextCodec, UmlautsRoundTripThroughAnsiAndOemBytes) {
    const Win32TextCodec codec;
    struct Case {
        CodePage page;
        std::string utf8;
        std::string bytes;
    };
    // ä ö ü Ä Ö Ü ß, then the euro sign, which only the ANSI page holds.
    const std::string umlauts = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F";
    const Case cases[] = {
        {CodePage::Ansi, umlauts, "\xE4\xF6\xFC\xC4\xD6\xDC\xDF"},
        {CodePage::Oem, umlauts, "\x84\x94\x81\x8E\x99\x9A\xE1"},
        {CodePage::Ansi, "5 \xE2\x82\xAC", "5 \x80"},
        {CodePage::Ansi, "C:\\Spiele\\Armada II\\", "C:\\Spiele\\Armada II\\"},
        {CodePage::Oem, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(c.bytes, codec.FromUtf8(c.utf8, c.page));
        EXPECT_EQ(c.utf8, codec.ToUtf8(c.bytes, c.page));
    }
}

TEST(Win32TextCodec, CharactersTheCodePageLacksBecomeTheDefaultCharacter) {
    const Win32TextCodec codec;
    EXPECT_EQ("5 ?", codec.FromUtf8("5 \xE2\x82\xAC", CodePage::Oem));
    EXPECT_EQ("?", codec.FromUtf8("\xE6\x97\xA5", CodePage::Ansi)); // a CJK character
}

} // namespace
} // namespace kolvek

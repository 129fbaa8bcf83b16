// The rules for text that the native tests rest on: the test platform's own
// ASCII letter case and order, the wildcard match that every platform shares,
// and counting UTF-8 by characters. The Windows rules have tests of their own
// (tests/win32), so a fault on either side shows on that side.

#include "fake/CodePoints.h"
#include "fake/FakeTextRules.h"
#include "platform/Utf8Text.h"
#include "platform/Wildcard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kolvek {
namespace {

TEST(FakeTextRules, OnlyAsciiLettersHaveACase) {
    const fake::FakeTextRules rules;
    EXPECT_EQ(rules.UpperCase("az AZ 09 @[`{ ~"), "AZ AZ 09 @[`{ ~");
    // ä, σ and ß stay as they are: the test platform knows no other letters.
    EXPECT_EQ(rules.UpperCase("k\xC3\xA4se \xCF\x83igma stra\xC3\x9F"
                              "e"),
              "K\xC3\xA4SE \xCF\x83IGMA STRA\xC3\x9F"
              "E");

    EXPECT_TRUE(rules.SameIgnoringCase("Map1.BZN", "mAP1.bzn"));
    EXPECT_TRUE(rules.SameIgnoringCase("", ""));
    EXPECT_FALSE(rules.SameIgnoringCase("Map1.bzn", "Map1.bzn "));
    EXPECT_FALSE(rules.SameIgnoringCase("\xC3\x9C"
                                        "bung",
                                        "\xC3\xBC"
                                        "bung"));   // Ü, ü
    EXPECT_FALSE(rules.SameIgnoringCase("@", "`")); // 0x40 and 0x60 are no letters
}

TEST(FakeTextRules, PatternsMatchWholeCharactersIgnoringAsciiCase) {
    const fake::FakeTextRules rules;
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } rows[] = {
        {"Alpha.BZN", "*.bzn", true},
        {".bzn", "*.bzn", true},
        {"map.bzn2", "*.bzn", false},
        {"mapbzn", "*.bzn", false},
        {"\xC3\x9C"
         "bung.bzn",
         "?bung.bzn", true}, // Ü is one character
        {"\xC3\x9C"
         "bung.bzn",
         "??bung.bzn", false},
        {"\xC3\xBC"
         "bung.bzn",
         "\xC3\x9C"
         "BUNG.BZN",
         false}, // ü is no ASCII letter
        {"a.b.c", "*.*", true},
        {"abc", "a*b*c*", true},
        {"abc", "a?", false},
        {"", "*", true},
        {"", "?", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(rules.MatchesPattern(row.name, row.pattern), row.matches)
            << row.name << " ~ " << row.pattern;
}

TEST(FakeCodePoints, WholeCharactersAndEachBadByteAsReplacement) {
    EXPECT_EQ(fake::CodePoints("a\xC3\xA4\xFF"
                               "b"),
              (std::u32string{U'a', U'\xE4', U'\xFFFD', U'b'}));
}

TEST(FakeTextRules, SortKeysOrderByAsciiCapitalsAndIgnoreCaseOnly) {
    const fake::FakeTextRules rules;
    std::vector<std::string> names = {"zeta.bzn",  "\xC3\x84rger.bzn", "Beta.bzn",
                                      "alpha.bzn", "a_b.bzn",          "ab.bzn"};
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return rules.SortKey(a) < rules.SortKey(b);
    });
    // "_" (0x5F) comes after the capitals; non-ASCII bytes after everything.
    EXPECT_EQ(names, (std::vector<std::string>{"ab.bzn", "alpha.bzn", "a_b.bzn", "Beta.bzn",
                                               "zeta.bzn", "\xC3\x84rger.bzn"}));
    EXPECT_EQ(rules.SortKey("Alpha.BZN"), rules.SortKey("alpha.bzn"));
}

TEST(Wildcard, StarAndQuestionMarkOverTheElementsGiven) {
    const struct {
        std::u32string name;
        std::u32string pattern;
        bool matches;
    } rows[] = {
        {U"MAP.BZN", U"*.BZN", true},
        {U"A.BZN.BZN", U"*.BZN", true},
        {U"A.BZNX", U"*.BZN", false},
        {U"AXBXC", U"A*B*C", true},
        {U"AXBX", U"A*B*C", false},
        {U"AB", U"A**B", true},
        {U"ABC", U"???", true},
        {U"ABC", U"????", false},
        {U"", U"", true},
        {U"A", U"", false},
        // The backtracking must move on past a partial match of the tail.
        {U"AAAB", U"*AAB", true},
        {U"\U0001F600.BZN", U"?.BZN", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(MatchesWildcard(row.name, row.pattern), row.matches);
}

TEST(Utf8Text, CountsAndCutsWholeCharacters) {
    const std::string text = "K\xC3\xA4se\xE2\x82\xAC"; // Käse€
    EXPECT_EQ(CharacterCount(text), 5u);
    EXPECT_EQ(LeftCharacters(text, 2), "K\xC3\xA4");
    EXPECT_EQ(RightCharacters(text, 1), "\xE2\x82\xAC");
    EXPECT_EQ(RightCharacters(text, 9), text);
    EXPECT_EQ(LeftCharacters("", 3), "");
}

TEST(Utf8Text, WellFormedSequencesOnly) {
    const struct {
        std::string bytes;
        bool wellFormed;
    } rows[] = {
        {"", true},
        {"ArmadaPath = C:\\\xC3\x9C"
         "bungen\\",
         true},
        {"\xF0\x9F\x98\x80", true}, // U+1F600
        {"\xEF\xBB\xBF", true},     // the byte-order mark itself
        {"\xDC"
         "bungen",
         false},                     // Ü in Windows-1252
        {"\xC3", false},             // cut short
        {"\xC0\xAF", false},         // overlong /
        {"\xE0\x80\xAF", false},     // overlong /
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\x80", false},             // a lone continuation byte
        {"\xC3\xA4\xC3", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsWellFormedUtf8(row.bytes), row.wellFormed) << row.bytes;
    std::string appended;
    for (char32_t c : {U'a', U'\xE4', U'\x20AC', U'\U0001F600'})
        AppendUtf8(appended, c);
    EXPECT_EQ(appended, "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80");
}

} // namespace
} // namespace kolvek

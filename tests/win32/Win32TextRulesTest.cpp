// Letter case, comparison, pattern and order as Windows has them, through the
// Win32 text rules, and the map list that rests on them, against the disk.

#include "Win32TestSupport.h"
#include "launcher/FileListBox.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kolvek {
namespace {

// The names as the measurement under Wine lists them, in the order
// that lstrcmpiW and a list box with LBS_SORT give: alpha, Ärger, Beta, Čas,
// ober, Öde, Zeta.
const std::vector<std::string> kSortedMaps = {"alpha.bzn",
                                              "\xC3\x84rger.bzn",
                                              "Beta.bzn",
                                              "\xC4\x8C"
                                              "as.bzn",
                                              "ober.bzn",
                                              "\xC3\x96"
                                              "de.bzn",
                                              "Zeta.bzn"};

TEST(Win32TextRules, CapitalsAsWindowsMakesThemBeyondLatin1) {
    const Win32TextRules rules;
    EXPECT_EQ("C:\\SPIELE\\\xCE\xA3IGMA\\ARMADA2.EXE",
              rules.UpperCase("C:\\Spiele\\\xCF\x83igma\\armada2.exe")); // σigma
    EXPECT_EQ("K\xC3\x84SE \xC4\x8C"
              "AS",
              rules.UpperCase("k\xC3\xA4se \xC4\x8D"
                              "as")); // käse čas
    EXPECT_EQ("", rules.UpperCase(""));
}

TEST(Win32TextRules, NamesCompareIgnoringCaseAsTheFileSystemDoes) {
    const Win32TextRules rules;
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"\xCF\x83igma.bzn", "\xCE\xA3IGMA.BZN", true}, // σigma, ΣIGMA
        {"\xC3\xBC"
         "bung.bzn",
         "\xC3\x9C"
         "BUNG.bzn",
         true}, // übung, ÜBUNG
        {"Map1.bzn", "MAP1.BZN", true},
        {"", "", true},
        {"Map1.bzn", "Map1.bzn ", false},
        {"a.bzn", "\xC3\xA1.bzn", false}, // an accent is no case
        {"ss", "\xC3\x9F", false},        // ß
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.same, rules.SameIgnoringCase(row.a, row.b)) << row.a << " / " << row.b;
}

TEST(Win32TextRules, PatternsMatchIgnoringCaseBeyondLatin1) {
    const Win32TextRules rules;
    EXPECT_TRUE(rules.MatchesPattern("\xCE\xA3igma.BZN", "*.bzn"));
    EXPECT_TRUE(rules.MatchesPattern("\xCE\xA3IGMA.bzn", "\xCF\x83igma.*"));
    EXPECT_TRUE(rules.MatchesPattern("\xC3\x9C"
                                     "bung.bzn",
                                     "?bung.bzn"));
    EXPECT_FALSE(rules.MatchesPattern("map.bzn2", "*.bzn"));
    EXPECT_FALSE(rules.MatchesPattern("mapbzn", "*.bzn"));
}

// Sorts with the rules' keys, as the map list does.
std::vector<std::string> SortedByKey(std::vector<std::string> names) {
    const Win32TextRules rules;
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return rules.SortKey(a) < rules.SortKey(b);
    });
    return names;
}

TEST(Win32TextRules, SortKeysOrderNamesAsASortedListBoxOfTheUsersLocale) {
    std::vector<std::string> shuffled = kSortedMaps;
    std::reverse(shuffled.begin(), shuffled.end());
    EXPECT_EQ(kSortedMaps, SortedByKey(shuffled));
    std::mt19937 random(8);
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    EXPECT_EQ(kSortedMaps, SortedByKey(shuffled));

    const Win32TextRules rules;
    EXPECT_EQ(rules.SortKey("\xC3\x96"
                            "de.bzn"),
              rules.SortKey("\xC3\xB6"
                            "DE.BZN")); // Öde, öDE
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(Win32TextRules, SortKeysAgreeWithThePlatformsOwnComparison) {
    // Case, accents, digits, punctuation and letters outside Latin-1: each
    // pair must come out as CompareStringEx with NORM_IGNORECASE (what
    // lstrcmpiW and LBS_SORT use) puts it.
    const std::vector<std::string> names = {"a.bzn",
                                            "A.bzn",
                                            "a1.bzn",
                                            "a10.bzn",
                                            "a2.bzn",
                                            "a_b.bzn",
                                            "a-b.bzn",
                                            "ab.bzn",
                                            "\xC3\xA4"
                                            "b.bzn",
                                            "\xC3\x85"
                                            "se.bzn",
                                            "\xC3\x9F.bzn",
                                            "ss.bzn",
                                            "st.bzn",
                                            "\xCF\x83igma.bzn",
                                            "\xCE\xA3IGMA2.bzn",
                                            "z.bzn",
                                            "\xC5\xBD"
                                            "al.bzn",
                                            "zz.bzn",
                                            "Zeta.bzn"};
    const Win32TextRules rules;
    for (const std::string& a : names) {
        for (const std::string& b : names) {
            const std::wstring wa = Widen(a), wb = Widen(b);
            const int platform =
                ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(), -1,
                                  wb.c_str(), -1, nullptr, nullptr, 0);
            ASSERT_NE(0, platform);
            EXPECT_EQ(Sign(platform - CSTR_EQUAL), Sign(rules.SortKey(a).compare(rules.SortKey(b))))
                << a << " / " << b;
        }
    }
}

// The list's entries as the dialog would show them.
class RecordingList : public DialogView {
public:
    void SetText(Control, const std::string&) override {}
    std::string Text(Control) const override { return {}; }
    void SetVisible(Control, bool) override {}
    void SetFocus(Control) override {}
    void SelectText(Control, int, int) override {}
    void SetListItems(const std::vector<std::string>& list) override { items = list; }
    int ListIndex() const override { return -1; }
    void SetListIndex(int) override {}
    void Unload() override {}

    std::vector<std::string> items;
};

TEST(Win32MapList, ListsTheFoldersMapsInTheUsersOrder) {
    wintest::TempFolder folder;
    wintest::TestPlatform test(folder.Path());
    for (const std::string& name : kSortedMaps)
        wintest::WriteBytes(folder / name, "");
    wintest::WriteBytes(folder / "\xCE\xA3igma.BZN", ""); // Σigma.BZN
    wintest::WriteBytes(folder / "notiz.txt", "");
    wintest::WriteBytes(folder / "map.bzn2", "");

    RecordingList view;
    FileListBox list(test.files, test.text, view, "*.bzn");
    list.Path(folder.Path());
    std::vector<std::string> expected = kSortedMaps;
    expected.push_back("\xCE\xA3igma.BZN"); // Greek after Latin
    EXPECT_EQ(expected, view.items);
}

} // namespace
} // namespace kolvek

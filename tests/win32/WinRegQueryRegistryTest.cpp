// The registry reader against Wine's (or Windows') real registry, through the
// Win32 registry calls. Each test writes its values under a key of its own
// below HKEY_CURRENT_USER\Software\KOLVEKTest and removes it afterwards.

#include "Win32TestSupport.h"
#include "platform/win32/Win32Handles.h"
#include "registry/WinRegQuery.h"
#include "win32/RestrictedRegistryKey.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

using wintest::RegistryKey;
using wintest::TestRegistryKey;

using wintest::InstallPathEntry;
using wintest::kEveryoneMayRead;
using wintest::kInstallKey;
using wintest::kNobodyMayOpen;
using wintest::RestrictedRegistryKey;

const wchar_t kWideInstallKey[] = L"SOFTWARE\\Activision\\Star Trek Armada II\\v1.0";

class WinRegQueryRegistryTest : public ::testing::Test {
protected:
    WinRegQueryRegistryTest() : query(test.platform) {
        query.Registry_HKEY(wintest::kHKeyCurrentUser);
        query.Registry_PATH(key.SubKey());
    }

    void Query(const std::string& item) {
        query.Registry_ITEM(item);
        query.QueryRegistryValue();
    }

    wintest::TestPlatform test{"C:\\"};
    TestRegistryKey key;
    WinRegQuery query;
};

TEST_F(WinRegQueryRegistryTest, StringValuesLoseExactlyOneTrailingCharacter) {
    const std::string zero(1, '\0');
    struct Case {
        const char* name;
        std::string stored;
        std::string read;
    };
    const Case cases[] = {
        {"one terminating zero", "C:\\Spiele\\Armada II\\" + zero, "C:\\Spiele\\Armada II\\"},
        {"two terminating zeros", "D:\\A2\\" + zero + zero, "D:\\A2\\" + zero},
        {"ansi umlaut", "C:\\Spiele\\K\xE4se\\" + zero, "C:\\Spiele\\K\xC3\xA4se\\"},
        {"empty", zero, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        key.SetValue("INSTALLPATH", REG_SZ, c.stored);
        Query("INSTALLPATH");
        EXPECT_EQ(WinRegQuery::kAnswerString, query.Registry_Answertype());
        EXPECT_EQ(c.read, query.Registry_REG_SZ());
        EXPECT_EQ(0, query.ErrorRuntime());
        EXPECT_EQ(0, query.ErrorRegQuery());
    }
}

TEST_F(WinRegQueryRegistryTest, StringStoredWithoutTerminatorComesThroughWhole) {
    // RegQueryValueExA appends the missing zero when the buffer has room for
    // it, as Windows NT does, and the size reported by the first query leaves
    // that room; so the one character dropped is that appended zero.
    key.SetValue("INSTALLPATH", REG_SZ, "E:\\Games\\");
    Query("INSTALLPATH");
    EXPECT_EQ(WinRegQuery::kAnswerString, query.Registry_Answertype());
    EXPECT_EQ("E:\\Games\\", query.Registry_REG_SZ());
}

TEST_F(WinRegQueryRegistryTest, ExpandStringAnswersOtherTypeAndKeepsTheEarlierString) {
    key.SetValue("plain", REG_SZ, std::string("first\0", 6));
    key.SetValue("expand", REG_EXPAND_SZ, std::string("%SystemRoot%\0", 13));
    Query("plain");
    Query("expand");
    EXPECT_EQ(WinRegQuery::kAnswerOtherType, query.Registry_Answertype());
    EXPECT_EQ("first", query.Registry_REG_SZ());
    EXPECT_EQ(0, query.ErrorRuntime());
    EXPECT_EQ(0, query.ErrorRegQuery());
}

TEST_F(WinRegQueryRegistryTest, DwordIsReadAsItsFourBytes) {
    key.SetValue("count", REG_DWORD, std::string("\x07\x00\x00\x00", 4));
    Query("count");
    EXPECT_EQ(WinRegQuery::kAnswerDword, query.Registry_Answertype());
    EXPECT_EQ(7, query.Registry_REG_DWORD());
    key.SetValue("count", REG_DWORD, std::string("\xFE\xFF\xFF\xFF", 4));
    Query("count");
    EXPECT_EQ(-2, query.Registry_REG_DWORD());
}

TEST_F(WinRegQueryRegistryTest, BinaryFillsTheLowBytesAndReportsItsLength) {
    struct Case {
        const char* name;
        std::string stored;
        std::int32_t value;
        std::int16_t bytes;
    };
    // Read in this order on one instance: the two-byte value keeps the upper
    // bytes that the four-byte read left behind.
    const Case cases[] = {
        {"four bytes", std::string("\x44\x33\x22\x11", 4), 0x11223344, 4},
        {"two bytes", std::string("\xAA\xBB", 2), 0x1122BBAA, 2},
        {"eight bytes cut to four", std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8), 0x04030201,
         8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        key.SetValue("blob", REG_BINARY, c.stored);
        Query("blob");
        EXPECT_EQ(WinRegQuery::kAnswerBinary, query.Registry_Answertype());
        EXPECT_EQ(c.value, query.Registry_REG_BINARY());
        EXPECT_EQ(c.bytes, query.Registry_REG_BYTES());
        EXPECT_EQ(0, query.ErrorRuntime());
    }
}

TEST_F(WinRegQueryRegistryTest, MissingValueOrKeyFailsWithTheRegistryCode) {
    key.SetValue("INSTALLPATH", REG_SZ, std::string("C:\\A2\\\0", 7));
    Query("INSTALLPATH");
    struct Case {
        const char* name;
        std::int32_t root;
        std::string path;
        std::string item;
        std::int32_t regQuery;
    };
    const Case cases[] = {
        {"missing value", wintest::kHKeyCurrentUser, key.SubKey(), "nothing", 2},
        // The open fails, the value query then runs on the zero handle.
        {"missing key", wintest::kHKeyCurrentUser, key.SubKey() + "\\none", "INSTALLPATH", 6},
        {"zero root", 0, key.SubKey(), "INSTALLPATH", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        query.Registry_HKEY(c.root);
        query.Registry_PATH(c.path);
        Query(c.item);
        EXPECT_EQ(WinRegQuery::kAnswerFailed, query.Registry_Answertype());
        EXPECT_EQ(5, query.ErrorRuntime());
        EXPECT_EQ(c.regQuery, query.ErrorRegQuery());
        EXPECT_EQ("C:\\A2\\", query.Registry_REG_SZ());
    }
    EXPECT_TRUE(test.ui.messages.empty());
}

TEST_F(WinRegQueryRegistryTest, MissingValueShowsOneMessageWhenAskedTo) {
    query.ShowErrorMsg(true);
    Query("nothing");
    ASSERT_EQ(1u, test.ui.messages.size());
    EXPECT_EQ("Fehler 5 beim Lesen der Registry. Meldung 2 von RegQueryValueExNULL.",
              test.ui.messages[0].prompt);
    EXPECT_EQ(16, test.ui.messages[0].style);
    EXPECT_EQ("Varno SubSystem Error", test.ui.messages[0].title);
}

bool ValueInView(REGSAM view) {
    RegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_QUERY_VALUE | view,
                        key.Receive()) != ERROR_SUCCESS)
        return false;
    return ::RegQueryValueExA(key.Get(), "INSTALLPATH", nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

// Reads the game's entry as the first start does, after Preset, with messages
// turned on, and expects `path` back without any message.
void ExpectPresetReads(const std::string& path) {
    wintest::TestPlatform test("C:\\");
    WinRegQuery query(test.platform);
    query.Registry_HKEY(wintest::kHKeyCurrentUser); // Preset replaces it
    query.Preset();
    query.ShowErrorMsg(true);
    query.QueryRegistryValue();
    EXPECT_EQ(WinRegQuery::kAnswerString, query.Registry_Answertype());
    EXPECT_EQ(0, query.ErrorRuntime());
    EXPECT_EQ(0, query.ErrorRegQuery());
    EXPECT_EQ(path, query.Registry_REG_SZ());
    EXPECT_TRUE(test.ui.messages.empty());
}

// The entry is written as the game's installer writes it, naming no view: a
// 32-bit program's entry lands in the 32-bit view, where the 32-bit
// KOLVEK.EXE must find it. Preset names none either, so each build reads the
// view of its own bitness and never the other one.
TEST(WinRegQueryInstallPath, PresetReadsTheGamesEntryInTheViewOfItsOwnBitness) {
    InstallPathEntry entry;
    entry.Set("C:\\Spiele\\Armada II");
    const bool build64 = sizeof(void*) == 8;
    EXPECT_TRUE(ValueInView(build64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY));
    BOOL wow64 = FALSE;
    if (build64 || (::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64)) {
        EXPECT_FALSE(ValueInView(build64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY));
    }

    ExpectPresetReads("C:\\Spiele\\Armada II");
}

// The game's entry as a standard user meets it: readable, not writable. The
// reader's open for reading and writing is refused, as on Windows.
TEST(WinRegQueryStandardUser, KeyThatOnlyGrantsReadingIsReadThroughAReadOnlyOpen) {
    InstallPathEntry entry;
    entry.Set("C:\\Spiele\\Armada II");
    RestrictedRegistryKey readOnly(HKEY_LOCAL_MACHINE, kWideInstallKey, 0, kEveryoneMayRead);
    {
        RegistryKey key;
        ASSERT_EQ(ERROR_ACCESS_DENIED,
                  ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKey, 0, 0x3F, key.Receive()));
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_READ, key.Receive()));
    }

    ExpectPresetReads("C:\\Spiele\\Armada II");
}

TEST(WinRegQueryStandardUser, KeyThatGrantsNothingFailsAsAQueryOnTheZeroHandle) {
    InstallPathEntry entry;
    entry.Set("C:\\Spiele\\Armada II");
    RestrictedRegistryKey closed(HKEY_LOCAL_MACHINE, kWideInstallKey, 0, kNobodyMayOpen);

    wintest::TestPlatform test("C:\\");
    WinRegQuery query(test.platform);
    query.Preset();
    query.QueryRegistryValue();
    EXPECT_EQ(WinRegQuery::kAnswerFailed, query.Registry_Answertype());
    EXPECT_EQ(5, query.ErrorRuntime());
    EXPECT_EQ(6, query.ErrorRegQuery());
}

} // namespace
} // namespace kolvek

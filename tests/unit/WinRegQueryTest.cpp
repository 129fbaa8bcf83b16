#include "registry/WinRegQuery.h"
#include "fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

const std::int32_t kHkcu = static_cast<std::int32_t>(0x80000001u);
const char kKey[] = "Software\\KOLVEKTest";

class WinRegQueryTest : public ::testing::Test {
protected:
    WinRegQueryTest() : query(fp.platform) {
        fp.registry.AddKey(kHkcu, kKey);
        query.Registry_HKEY(kHkcu);
        query.Registry_PATH(kKey);
    }
    void Read(const std::string& item) {
        query.Registry_ITEM(item);
        query.QueryRegistryValue();
    }
    fake::FakePlatform fp;
    WinRegQuery query;
};

TEST_F(WinRegQueryTest, NewInstanceWithoutLocationFailsQuietly) {
    WinRegQuery fresh(fp.platform);
    fresh.QueryRegistryValue();
    EXPECT_EQ(fresh.Registry_Answertype(), 9);
    EXPECT_EQ(fresh.ErrorRuntime(), 5);
    EXPECT_EQ(fresh.ErrorRegQuery(), 6);
    EXPECT_TRUE(fp.ui.boxes.empty());
}

TEST_F(WinRegQueryTest, PresetPointsAtInstallPathAndSilencesMessagesOnly) {
    fp.registry.SetString(kHkcu, kKey, "s", "alt");
    Read("s");
    query.ShowErrorMsg(true);
    query.Preset();
    EXPECT_EQ(query.Registry_HKEY(), static_cast<std::int32_t>(0x80000002u));
    EXPECT_EQ(query.Registry_PATH(), "SOFTWARE\\Activision\\Star Trek Armada II\\v1.0");
    EXPECT_EQ(query.Registry_ITEM(), "INSTALLPATH");
    EXPECT_FALSE(query.ShowErrorMsg());
    EXPECT_EQ(query.Registry_REG_SZ(), "alt");
    EXPECT_EQ(query.Registry_Answertype(), 1);
}

TEST_F(WinRegQueryTest, StringDropsExactlyOneTrailingByte) {
    fp.registry.SetValue(kHkcu, kKey, "one", kRegSz, std::string("C:\\Spiele\\\0", 11));
    Read("one");
    EXPECT_EQ(query.Registry_REG_SZ(), "C:\\Spiele\\");
    EXPECT_EQ(query.Registry_Answertype(), 1);
    EXPECT_EQ(query.ErrorRuntime(), 0);
    EXPECT_EQ(query.ErrorRegQuery(), 0);

    fp.registry.SetValue(kHkcu, kKey, "two", kRegSz, std::string("abc\0\0", 5));
    Read("two");
    EXPECT_EQ(query.Registry_REG_SZ(), std::string("abc\0", 4));

    fp.registry.SetValue(kHkcu, kKey, "none", kRegSz, "abc");
    Read("none");
    EXPECT_EQ(query.Registry_REG_SZ(), "ab");
}

TEST_F(WinRegQueryTest, StringIsConvertedFromTheAnsiCodePage) {
    fp.registry.SetString(kHkcu, kKey, "s",
                          "C:\\\xDC"
                          "bungen\\");
    Read("s");
    EXPECT_EQ(query.Registry_REG_SZ(), "C:\\Übungen\\");
}

TEST_F(WinRegQueryTest, EmptyStringDataIsAnInvalidArgument) {
    fp.registry.SetString(kHkcu, kKey, "s", "kept");
    Read("s");
    fp.registry.SetValue(kHkcu, kKey, "empty", kRegSz, "");
    Read("empty");
    EXPECT_EQ(query.Registry_Answertype(), 9);
    EXPECT_EQ(query.ErrorRuntime(), 5);
    EXPECT_EQ(query.ErrorRegQuery(), 0);
    EXPECT_EQ(query.Registry_REG_SZ(), "kept");
}

TEST_F(WinRegQueryTest, OtherTypesAnswerZeroAndKeepEarlierResults) {
    fp.registry.SetString(kHkcu, kKey, "s", "kept");
    Read("s");
    fp.registry.SetValue(kHkcu, kKey, "x", kRegExpandSz, std::string("%X%\0", 4));
    Read("x");
    EXPECT_EQ(query.Registry_Answertype(), 0);
    EXPECT_EQ(query.ErrorRuntime(), 0);
    EXPECT_EQ(query.ErrorRegQuery(), 0);
    EXPECT_EQ(query.Registry_REG_SZ(), "kept");
}

TEST_F(WinRegQueryTest, DwordIsReadAndLongerDataCutToFourBytes) {
    fp.registry.SetValue(kHkcu, kKey, "d", kRegDword, std::string("\x07\0\0\0", 4));
    Read("d");
    EXPECT_EQ(query.Registry_REG_DWORD(), 7);
    EXPECT_EQ(query.Registry_Answertype(), 4);

    fp.registry.SetValue(kHkcu, kKey, "d8", kRegDword,
                         std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    Read("d8");
    EXPECT_EQ(query.Registry_REG_DWORD(), 0x04030201);
    EXPECT_EQ(query.Registry_Answertype(), 4);
}

TEST_F(WinRegQueryTest, BinaryFillsLowBytesAndReportsTheRealLength) {
    fp.registry.SetValue(kHkcu, kKey, "b4", kRegBinary, std::string("\x11\x22\x33\x44", 4));
    Read("b4");
    EXPECT_EQ(query.Registry_REG_BINARY(), 0x44332211);
    EXPECT_EQ(query.Registry_REG_BYTES(), 4);

    // Two bytes keep the two upper bytes from before.
    fp.registry.SetValue(kHkcu, kKey, "b2", kRegBinary, std::string("\xAA\xBB", 2));
    Read("b2");
    EXPECT_EQ(query.Registry_REG_BINARY(), 0x4433BBAA);
    EXPECT_EQ(query.Registry_REG_BYTES(), 2);
    EXPECT_EQ(query.Registry_Answertype(), 3);

    fp.registry.SetValue(kHkcu, kKey, "b8", kRegBinary,
                         std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    Read("b8");
    EXPECT_EQ(query.Registry_REG_BINARY(), 0x04030201);
    EXPECT_EQ(query.Registry_REG_BYTES(), 8);
}

TEST_F(WinRegQueryTest, BinaryOfTwoBytesOnANewInstanceLeavesUpperBytesZero) {
    fp.registry.SetValue(kHkcu, kKey, "b2", kRegBinary, std::string("\xAA\xBB", 2));
    Read("b2");
    EXPECT_EQ(query.Registry_REG_BINARY(), 0xBBAA);
}

TEST_F(WinRegQueryTest, BinaryLengthFitsSixteenBitsUpTo32767Bytes) {
    fp.registry.SetValue(kHkcu, kKey, "max", kRegBinary, std::string(32767, 'x'));
    Read("max");
    EXPECT_EQ(query.Registry_Answertype(), 3);
    EXPECT_EQ(query.ErrorRuntime(), 0);
    EXPECT_EQ(query.Registry_REG_BYTES(), 32767);

    fp.registry.SetValue(kHkcu, kKey, "over", kRegBinary, std::string(32768, 'y'));
    Read("over");
    EXPECT_EQ(query.Registry_Answertype(), 9);
    EXPECT_EQ(query.ErrorRuntime(), 6);
    EXPECT_EQ(query.Registry_REG_BINARY(), 0x78787878); // the earlier read's bytes
}

TEST_F(WinRegQueryTest, MissingValueAndMissingKeyReportTheirCodes) {
    fp.registry.SetString(kHkcu, kKey, "s", "kept");
    Read("s");
    Read("missing");
    EXPECT_EQ(query.Registry_Answertype(), 9);
    EXPECT_EQ(query.ErrorRuntime(), 5);
    EXPECT_EQ(query.ErrorRegQuery(), 2);
    EXPECT_EQ(query.Registry_REG_SZ(), "kept");

    query.Registry_PATH("Software\\Nirgends");
    Read("s");
    EXPECT_EQ(query.ErrorRuntime(), 5);
    EXPECT_EQ(query.ErrorRegQuery(), 6);
}

TEST_F(WinRegQueryTest, KeyReadableButNotWritableIsReadThroughAReadOnlyOpen) {
    // HKEY_LOCAL_MACHINE\SOFTWARE as a standard user meets it.
    fp.registry.DenyAccess(kHkcu, kKey, 0x1);
    fp.registry.SetString(kHkcu, kKey, "s", "C:\\Spiele\\");
    Read("s");
    EXPECT_EQ(query.Registry_Answertype(), 1);
    EXPECT_EQ(query.ErrorRuntime(), 0);
    EXPECT_EQ(query.ErrorRegQuery(), 0);
    EXPECT_EQ(query.Registry_REG_SZ(), "C:\\Spiele\\");
    EXPECT_EQ(fp.registry.openedAccess, (std::vector<std::uint32_t>{0x3F, 0x1}));
    EXPECT_EQ(fp.registry.closedKeys.size(), 1u);
    EXPECT_EQ(fp.registry.openHandles, 0);

    // A missing value behind the read-only open still answers 2.
    Read("missing");
    EXPECT_EQ(query.Registry_Answertype(), 9);
    EXPECT_EQ(query.ErrorRegQuery(), 2);
    EXPECT_EQ(fp.registry.openHandles, 0);
}

TEST_F(WinRegQueryTest, KeyRefusedEvenForReadingFailsLikeAMissingKey) {
    fp.registry.DenyAccess(kHkcu, kKey);
    fp.registry.SetString(kHkcu, kKey, "s", "x");
    query.ShowErrorMsg(true);
    Read("s");
    EXPECT_EQ(query.Registry_Answertype(), 9);
    EXPECT_EQ(query.ErrorRuntime(), 5);
    EXPECT_EQ(query.ErrorRegQuery(), 6);
    EXPECT_EQ(fp.registry.openedAccess, (std::vector<std::uint32_t>{0x3F, 0x1}));
    EXPECT_EQ(fp.registry.closedKeys, (std::vector<RegKeyHandle>{0}));
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt,
              "Fehler 5 beim Lesen der Registry. Meldung 6 von RegQueryValueExNULL.");
}

TEST_F(WinRegQueryTest, OpensWithReadWriteAccessAndAlwaysClosesTheKey) {
    fp.registry.SetString(kHkcu, kKey, "s", "x");
    Read("s");
    Read("missing");
    query.Registry_PATH("Software\\Nirgends");
    Read("s");
    EXPECT_EQ(fp.registry.openedAccess, (std::vector<std::uint32_t>{0x3F, 0x3F, 0x3F}));
    EXPECT_EQ(fp.registry.closedKeys.size(), 3u);
    EXPECT_EQ(fp.registry.closedKeys.back(), 0u);
    EXPECT_EQ(fp.registry.openHandles, 0);
}

TEST_F(WinRegQueryTest, FailingSecondQueryReportsItsCode) {
    fp.registry.SetString(kHkcu, kKey, "s", "x");
    fp.registry.forcedQueryResults = {std::nullopt, 1234};
    Read("s");
    EXPECT_EQ(query.Registry_Answertype(), 9);
    EXPECT_EQ(query.ErrorRuntime(), 5);
    EXPECT_EQ(query.ErrorRegQuery(), 1234);
}

TEST_F(WinRegQueryTest, ShowsOneMessageOnlyWhenAskedTo) {
    Read("missing");
    EXPECT_TRUE(fp.ui.boxes.empty());
    query.ShowErrorMsg(true);
    Read("missing");
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt,
              "Fehler 5 beim Lesen der Registry. Meldung 2 von RegQueryValueExNULL.");
    EXPECT_EQ(fp.ui.boxes[0].style, 16);
    EXPECT_EQ(fp.ui.boxes[0].title, "Varno SubSystem Error");
}

TEST_F(WinRegQueryTest, NegativeResultCodeTakesTheBlanksPlace) {
    fp.registry.forcedQueryResults = {-7};
    query.ShowErrorMsg(true);
    Read("s");
    ASSERT_EQ(fp.ui.boxes.size(), 1u);
    EXPECT_EQ(fp.ui.boxes[0].prompt,
              "Fehler 5 beim Lesen der Registry. Meldung-7 von RegQueryValueExNULL.");
}

} // namespace
} // namespace kolvek

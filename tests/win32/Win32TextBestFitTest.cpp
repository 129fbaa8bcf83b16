#include "platform/win32/Win32TextCodec.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

// Full-width look-alikes of & < | ^ % " pass every ASCII check on a map name;
// if the conversion to the console code page "best-fitted" them to the ASCII
// characters, RunA2.bat would carry batch syntax that nobody escaped. They
// have to come out as the default character instead.
TEST(Win32TextCodec, LookAlikesOfBatchCharactersBecomeTheDefaultCharacter) {
    const Win32TextCodec codec;
    const std::string lookAlikes = "a\xEF\xBC\x86"  // U+FF06 full-width &
                                   "b\xEF\xBC\x9C"  // U+FF1C full-width <
                                   "c\xEF\xBD\x9C"  // U+FF5C full-width |
                                   "d\xEF\xBC\xBE"  // U+FF3E full-width ^
                                   "e\xEF\xBC\x85"  // U+FF05 full-width %
                                   "f\xEF\xBC\x82"; // U+FF02 full-width "
    EXPECT_EQ(codec.FromUtf8(lookAlikes, CodePage::Oem), "a?b?c?d?e?f?");
    EXPECT_EQ(codec.FromUtf8(lookAlikes, CodePage::Ansi), "a?b?c?d?e?f?");
    // Characters the code page holds are still converted as before.
    EXPECT_EQ(codec.FromUtf8("H\xC3\xB6hle&", CodePage::Oem), "H\x94hle&");
}

} // namespace
} // namespace kolvek

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

} // namespace
} // namespace kolvek

// The wrapper's and the seam's headers next to the SDK's, in the order that
// used to clash: the SDK first, so that its macros (FO_MOVE, MessageBox, ...)
// are defined when ours are read.
#include "platform/win32/Win32Api.h"

#include <shellapi.h>

#include "files/CmdlSHFileOperation.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/UserInterface.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

TEST(SdkHeaderOrder, SeamFlagsKeepTheShellsValuesAfterTheSdkHeaders) {
    EXPECT_EQ(FO_DELETE, static_cast<int>(shellop::Delete));
    EXPECT_EQ(FOF_NOCONFIRMMKDIR, shellop::NoConfirmMkDir);
}

} // namespace
} // namespace kolvek

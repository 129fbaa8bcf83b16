// The running program's folder and the start of batch files, for real.

#include "Win32TestSupport.h"
#include "config/mdlKOLVEK.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

namespace kolvek {
namespace {

using wintest::PathExists;
using wintest::TempFolder;
using wintest::WriteBytes;

// The bytes of `path` if it can be read now, even while another process
// writes it; empty otherwise.
std::string ReadWhileShared(const std::string& path) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file.Valid())
        return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

// Waits (at most ten seconds) until a batch file has written a complete line
// into `path`, and answers the file's bytes.
std::string AwaitLine(const std::string& path) {
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        bytes = ReadWhileShared(path);
        if (!bytes.empty() && bytes.back() == '\n')
            return bytes;
        ::Sleep(50);
    }
    ADD_FAILURE() << path << " got no complete line";
    return bytes;
}

TEST(Win32Process, ProgramFolderIsTheExecutablesFolderWithoutBackslash) {
    Win32Process process;
    const std::string folder = process.ProgramFolder();
    wchar_t module[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::string exe = Narrow(std::wstring(module, length));
    ASSERT_FALSE(folder.empty());
    EXPECT_NE('\\', folder.back());
    EXPECT_EQ(exe.substr(0, exe.find_last_of('\\')), folder);
    EXPECT_TRUE(PathExists(folder + "\\kolvek_win_tests.exe"));
}

TEST(Win32Process, BatchFileInAFolderWithBlanksRuns) {
    TempFolder folder{"KOLVEK Program Files"};
    // A decoy that would run if the path were cut at its first blank.
    const std::string decoy = folder.Path().substr(0, folder.Path().find(' ')) + ".bat";
    const std::string script = folder / "Run A2 & Co.bat";
    WriteBytes(script,
               "@echo started> \"" + Utf8ToBytes(folder / "marker.txt", CP_OEMCP) + "\"\r\n");
    Win32Process process;
    process.StartCommand(script, window_style::MinimizedFocus);
    EXPECT_EQ("started\r\n", AwaitLine(folder / "marker.txt"));
    EXPECT_FALSE(PathExists(decoy));
}

TEST(Win32Process, StartingAMissingProgramThrows) {
    TempFolder folder;
    Win32Process process;
    try {
        process.StartCommand(folder / "missing.exe", window_style::MinimizedFocus);
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(err::FileNotFound, error.Number());
    }
}

// The whole launch: the routine writes RunA2.bat, the platform starts it, the
// script changes to the game folder and runs "armada2" there with the map
// argument. The stand-in game is a batch file that records its arguments.
TEST(Win32Process, LaunchScriptStartsTheGameInItsFolderWithTheArgument) {
    TempFolder program{"KOLVEK Program"};
    TempFolder game{"Armada II K\xC3\xA4se"};
    WriteBytes(game / "armada2.bat", "@echo %*> args.txt\r\n@cd> folder.txt\r\n");
    wintest::TestPlatform test(program.Path());
    mdlKOLVEK::GameFolder = game.Path() + "\\";

    const std::string script = mdlKOLVEK::WriteLaunchScript(test.platform, "/edit meine Karte.bzn");
    test.process.StartCommand(script, window_style::MinimizedFocus);

    EXPECT_EQ("/edit meine Karte.bzn\r\n", AwaitLine(game / "args.txt"));
    // Windows' cmd writes redirected output in the OEM code page, Wine's in
    // the ANSI one; either way it names the game folder.
    const std::string folder = AwaitLine(game / "folder.txt");
    EXPECT_TRUE(folder == Utf8ToBytes(game.Path(), CP_OEMCP) + "\r\n" ||
                folder == Utf8ToBytes(game.Path(), CP_ACP) + "\r\n")
        << folder;
    mdlKOLVEK::GameFolder.clear();
}

} // namespace
} // namespace kolvek

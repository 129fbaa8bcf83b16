// The running program's folder and the start of batch files, for real.

#include "Win32TestSupport.h"
#include "config/ScriptCopies.h"
#include "config/mdlKOLVEK.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <optional>
#include <vector>

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

// Waits until a batch file has written a complete line into `path`, and
// answers the file's bytes.
std::string AwaitLine(const std::string& path) {
    std::string bytes;
    const bool complete = wintest::WaitUntil([&] {
        bytes = ReadWhileShared(path);
        return !bytes.empty() && bytes.back() == '\n';
    });
    EXPECT_TRUE(complete) << path << " got no complete line";
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

// An environment variable of this process set for one test, restored after.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
        wchar_t old[4096];
        const DWORD length = ::GetEnvironmentVariableW(name, old, 4096);
        had_ = length > 0 && length < 4096;
        if (had_)
            old_.assign(old, length);
        ::SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* name_;
    bool had_ = false;
    std::wstring old_;
};

// When `process` was made; none when that cannot be read.
std::optional<FILETIME> CreationTime(HANDLE process) {
    FILETIME creation{}, exit{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &creation, &exit, &kernel, &user))
        return std::nullopt;
    return creation;
}

// Whether `entry` is a process this one started. Its parent id alone could
// be a dead process's id, which Wine gives again: the child must also be no
// older than this process (a tie counts, the clock's steps are coarse). One
// that cannot be opened for querying, which a process can always do to its
// own children, runs under another account or is gone. One whose time cannot
// be read counts as a child: the wait then fails rather than miss one.
bool IsChild(const PROCESSENTRY32W& entry) {
    if (entry.th32ParentProcessID != ::GetCurrentProcessId())
        return false;
    const UniqueHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!process.Valid())
        return false;
    const std::optional<FILETIME> created = CreationTime(process.Get());
    const std::optional<FILETIME> own = CreationTime(::GetCurrentProcess());
    return !created || !own || ::CompareFileTime(&*created, &*own) >= 0;
}

// True once no process that this one started is left, not even one held
// suspended: such a one would write nothing and keep no handle of ours.
bool AwaitNoChildProcess() {
    return wintest::WaitUntil([] {
        UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        if (!snapshot.Valid() || !::Process32FirstW(snapshot.Get(), &entry))
            return false;
        do {
            if (IsChild(entry))
                return false;
        } while (::Process32NextW(snapshot.Get(), &entry));
        return true;
    });
}

bool AwaitEnd(StartedProcess& process) {
    return wintest::WaitUntil([&] { return process.HasEnded(); });
}

std::string CommandProcessor(Win32Process& process) {
    return process.SystemFolder() + "\\cmd.exe";
}

TEST(Win32Process, SystemFolderHoldsCmdWhateverComspecSays) {
    TempFolder folder;
    ScopedVariable comspec(L"COMSPEC", Widen(folder / "pwn.exe").c_str());
    Win32Process process;
    wchar_t system[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(Narrow(std::wstring(system, length)), process.SystemFolder());
    EXPECT_TRUE(PathExists(CommandProcessor(process)));
}

TEST(Win32Process, TemporaryFolderFollowsTmpWithoutTrailingBackslash) {
    TempFolder folder{"KOLVEK Temp"};
    ScopedVariable tmp(L"TMP", Widen(folder.Path() + "\\").c_str());
    Win32Process process;
    EXPECT_EQ(folder.Path(), process.TemporaryFolder());
}

TEST(Win32Process, StartRunsTheProgramInItsFolderWithTheCommandLineAsGivenUntilItEnds) {
    // Blanks, %, & and a non-OEM letter in the folder: none of it is on the
    // command line, so cmd can neither expand nor split it.
    TempFolder folder{"KOLVEK %OS% & \xD0\x96"};
    WriteBytes(folder / "run.bat", "@ping -n 2 127.0.0.1 > nul\r\n@echo %1 %2> marker.txt\r\n");
    Win32Process process;
    auto started = process.Start(CommandProcessor(process), "cmd.exe /d /c .\\run.bat alpha beta",
                                 folder.Path(), window_style::MinimizedFocus);
    started->Run();
    EXPECT_FALSE(started->HasEnded());
    EXPECT_EQ("alpha beta\r\n", AwaitLine(folder / "marker.txt"));
    EXPECT_TRUE(AwaitEnd(*started));
}

TEST(Win32Process, StartedProcessDoesNotGetNoDefaultCurrentDirectoryInExePath) {
    TempFolder folder;
    WriteBytes(folder / "env.bat", "@if defined NoDefaultCurrentDirectoryInExePath (echo present"
                                   "> env.txt) else (echo absent %KOLVEK_PASSED%> env.txt)\r\n");
    ScopedVariable noDefault(L"NoDefaultCurrentDirectoryInExePath", L"1");
    ScopedVariable passed(L"KOLVEK_PASSED", L"passed");
    Win32Process process;
    auto started = process.Start(CommandProcessor(process), "cmd.exe /d /c .\\env.bat",
                                 folder.Path(), window_style::MinimizedFocus);
    started->Run();
    EXPECT_EQ("absent passed\r\n", AwaitLine(folder / "env.txt"));
    EXPECT_TRUE(AwaitEnd(*started));
}

// One entry of the system's handle table (SystemExtendedHandleInformation).
struct HandleTableEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT typeIndex;
    ULONG attributes;
    ULONG reserved;
};

struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleTableEntry entries[1];
};

// How many handles this process holds. Counted in the system's handle table
// because GetProcessHandleCount always answers 0 under Wine 8.
std::size_t OwnHandleCount() {
    constexpr auto kExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
    constexpr NTSTATUS kLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<ULONG_PTR> buffer(1 << 14);
    NTSTATUS status;
    while ((status = ::NtQuerySystemInformation(
                kExtendedHandleInformation, buffer.data(),
                static_cast<ULONG>(buffer.size() * sizeof buffer[0]), nullptr)) == kLengthMismatch)
        buffer.resize(buffer.size() * 2);
    EXPECT_EQ(0, status);
    if (status != 0)
        return 0;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    std::size_t count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i)
        count += table->entries[i].processId == ::GetCurrentProcessId() ? 1 : 0;
    return count;
}

TEST(Win32Process, StartedProcessesLeaveNoHandleOpenOnceLetGo) {
    TempFolder folder;
    Win32Process process;
    const auto startAndLetGo = [&] {
        auto started = process.Start(CommandProcessor(process), "cmd.exe /d /c exit", folder.Path(),
                                     window_style::MinimizedFocus);
        started->Run();
        EXPECT_TRUE(AwaitEnd(*started));
        // One let go unrun, which is ended.
        process.Start(CommandProcessor(process), "cmd.exe /d /c exit", folder.Path(),
                      window_style::MinimizedFocus);
    };
    // The first start may load and keep what every later start shares.
    startAndLetGo();
    const std::size_t before = OwnHandleCount();
    for (int i = 0; i < 5; ++i)
        startAndLetGo();
    EXPECT_EQ(before, OwnHandleCount());
}

TEST(Win32Process, HeldProcessLetGoUnrunNeverRuns) {
    TempFolder folder;
    WriteBytes(folder / "mark.bat", "@echo ran> marker.txt\r\n");
    Win32Process process;
    process.Start(CommandProcessor(process), "cmd.exe /d /c .\\mark.bat", folder.Path(),
                  window_style::MinimizedFocus);
    // Long enough for the one let go to have marked, had it run at all.
    auto started = process.Start(CommandProcessor(process), "cmd.exe /d /c exit", folder.Path(),
                                 window_style::MinimizedFocus);
    started->Run();
    EXPECT_TRUE(AwaitEnd(*started));
    EXPECT_FALSE(PathExists(folder / "marker.txt"));
    EXPECT_TRUE(AwaitNoChildProcess()) << "a held cmd.exe was let go without being ended";
}

TEST(Win32Process, StartingAMissingProgramOrInAMissingFolderThrows) {
    TempFolder folder;
    Win32Process process;
    EXPECT_THROW(process.Start(folder / "missing.exe", "missing.exe", folder.Path(),
                               window_style::MinimizedFocus),
                 RuntimeError);
    EXPECT_THROW(process.Start(CommandProcessor(process), "cmd.exe /d /c exit", folder / "missing",
                               window_style::MinimizedFocus),
                 RuntimeError);
}

// The whole launch: the routine writes RunA2.bat and its copy, the copy is
// started, the script changes to the game folder and runs "armada2" there
// with the map argument. The stand-in game is a batch file that records its
// arguments in its current folder.
void ExpectLaunchInto(const std::string& gameName) {
    TempFolder program{"KOLVEK Program"};
    TempFolder temp{"KOLVEK Temp"};
    TempFolder parent{"KOLVEK Games"};
    const std::string game = parent / gameName;
    wintest::MakeFolder(game);
    // A decoy beside the game folder that a wildcard could enter.
    wintest::MakeFolder(parent / "Demo01");
    WriteBytes(parent / "Demo01\\armada2.bat", "@echo decoy> decoy.txt\r\n");
    WriteBytes(game + "\\armada2.bat", "@echo %*> args.txt\r\n");
    ScopedVariable tmp(L"TMP", Widen(temp.Path()).c_str());
    wintest::TestPlatform test(program.Path());
    mdlKOLVEK::GameFolder = game + "\\";
    {
        ScriptCopies copies(test.platform);
        // The launch wants the game's armada2.exe; once that is gone, cmd runs
        // the stand-in batch file in its place.
        WriteBytes(game + "\\armada2.exe", "");
        const LaunchDecision launch = DecideEditorStart(test.platform, mdlKOLVEK::GameFolder,
                                                        game + "\\bzn", "meine.bzn", MapKind::New);
        ::DeleteFileW(Widen(game + "\\armada2.exe").c_str());
        const std::string script = mdlKOLVEK::WriteLaunchScript(test.platform, launch);
        EXPECT_EQ(0u, script.rfind(temp.Path() + "\\KOLVEK\\", 0)) << script;
        copies.Start(script, window_style::MinimizedFocus).Run();

        // Written into the current folder: the game ran in its own folder.
        EXPECT_EQ("/edit meine.bzn\r\n", AwaitLine(game + "\\args.txt"));
        EXPECT_FALSE(PathExists(parent / "Demo01\\decoy.txt"));
        // The copy goes once its cmd.exe has ended.
        EXPECT_TRUE(wintest::WaitUntil([&] {
            copies.RemoveEnded();
            return !PathExists(script);
        }));
    }
    mdlKOLVEK::GameFolder.clear();
}

TEST(Win32Process, LaunchScriptStartsTheGameInItsFolderWithTheArgument) {
    ExpectLaunchInto("Armada II K\xC3\xA4se");
}

TEST(Win32Process, LaunchScriptEntersAFolderTheConsoleCannotHoldByItsShortName) {
    ExpectLaunchInto("\xD0\x90\xD1\x80\xD0\xBC\xD0\xB0\xD0\xB4\xD0\xB0"); // Армада
}

} // namespace
} // namespace kolvek

#pragma once
// What the Windows tests share: a temporary folder and a registry key of
// their own that vanish afterwards, raw file access for checking bytes, and a
// platform whose program folder is the test's folder and whose message boxes
// are only recorded.

#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32TextRules.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kolvek::wintest {

// How long another process or thread gets for anything it is expected to do.
constexpr DWORD kPatience = 15000;

// Calls `condition` every few milliseconds until it holds or `timeoutMs` has
// passed; answers its last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatience);

// A name no other test (or test run) uses at the same time.
std::string UniqueName();

// A fresh folder under the temporary folder; its name holds a blank. Removed
// with everything in it (read-only, hidden and system files too) at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "KOLVEK Test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // UTF-8, without a trailing backslash.
    const std::string& Path() const { return path_; }
    // Path() + "\" + name.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Raw file access, independent of the code under test.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool PathExists(const std::string& path);
void MakeFolder(const std::string& path);
void SetAttributes(const std::string& path, DWORD attributes);
// Whether the read-only file `path` really refuses writing. Wine keeps the
// attribute as missing Unix write permission, which root does not need, so
// under Wine run by root it protects nothing (folders neither).
bool ReadOnlyIsEnforced(const std::string& path);
// "X:\" for a drive letter that no drive uses.
std::string MissingDriveRoot();

// An open registry key, closed at the end; the program itself opens its one
// key inside the platform's registry calls.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY Get() const { return key_; }
    // For functions that open a key into an out-parameter; closes any key held.
    HKEY* Receive() {
        Close();
        return &key_;
    }

private:
    void Close() {
        if (key_ != nullptr)
            ::RegCloseKey(key_);
        key_ = nullptr;
    }
    HKEY key_ = nullptr;
};

// HKEY_CURRENT_USER\Software\KOLVEKTest\<unique>, deleted with its values at
// the end (and KOLVEKTest too once it is empty).
class TestRegistryKey {
public:
    TestRegistryKey();
    ~TestRegistryKey();
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    // The key's path below HKEY_CURRENT_USER.
    const std::string& SubKey() const { return subKey_; }
    void SetValue(const std::string& name, DWORD type, const std::string& bytes);

private:
    std::string subKey_;
};

// The game's entry under HKEY_LOCAL_MACHINE, created for one test and removed
// afterwards. Tests in several processes share that one place, so a named
// mutex lets one test at a time use it; while it lives the entry is absent
// unless Set() was called. Written from this 32-bit program, the entry lands
// in the registry's 32-bit view, as the game installer's does.
constexpr char kInstallKey[] = "SOFTWARE\\Activision\\Star Trek Armada II\\v1.0";

class InstallPathEntry {
public:
    InstallPathEntry();
    ~InstallPathEntry();
    InstallPathEntry(const InstallPathEntry&) = delete;
    InstallPathEntry& operator=(const InstallPathEntry&) = delete;

    // Stores INSTALLPATH as REG_SZ with its terminating zero.
    void Set(const std::string& ansiPath);

private:
    HANDLE mutex_;
};

constexpr std::int32_t kHKeyCurrentUser = static_cast<std::int32_t>(0x80000001u);

// Thrown by TestProcess::EndProgram, so a test can see the program end.
struct ProgramEnded {};

struct ShownMessage {
    std::string prompt;
    int style;
    std::string title;
};

class RecordingUserInterface : public UserInterface {
public:
    int ShowMessage(const std::string& prompt, int style, const std::string& title) override {
        messages.push_back({prompt, style, title});
        return mb::ResultOk;
    }
    void ShowFixedMessage(const char* prompt, int style, const char* title) noexcept override {
        messages.push_back({prompt, style, title});
    }
    void Beep() override { ++beeps; }
    void SetDefaultPointer() override {}

    std::vector<ShownMessage> messages;
    int beeps = 0;
};

// The real process, except that the program folder is the test's choice.
class TestProcess : public Win32Process {
public:
    explicit TestProcess(std::string folder) : folder_(std::move(folder)) {}
    std::string ProgramFolder() override { return folder_; }
    [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }

private:
    std::string folder_;
};

// The Win32 platform with recorded messages and a chosen program folder.
class TestPlatform {
public:
    explicit TestPlatform(const std::string& programFolder) : process(programFolder) {}
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    Win32FileSystem files;
    Win32Registry registry;
    Win32Shell shell;
    RecordingUserInterface ui;
    TestProcess process;
    Win32TextCodec codec;
    Win32TextRules text;
    Platform platform{files, registry, shell, ui, process, codec, text};
};

} // namespace kolvek::wintest

#include "platform/win32/Win32Process.h"

#include "platform/PathText.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

#include <cwchar>

namespace kolvek {

namespace {

class Win32StartedProcess : public StartedProcess {
public:
    Win32StartedProcess(UniqueHandle process, UniqueHandle thread)
        : process_(std::move(process)), thread_(std::move(thread)) {}
    // Never run: it has not executed a single instruction, so ending it
    // costs nothing and leaves nothing behind.
    ~Win32StartedProcess() override {
        if (thread_.Valid())
            ::TerminateProcess(process_.Get(), 1);
    }
    void Run() override {
        if (::ResumeThread(thread_.Get()) == static_cast<DWORD>(-1))
            ThrowLastError();
        thread_.Reset();
    }
    // A handle that cannot be waited on counts as ended: its copy may go.
    bool HasEnded() override { return ::WaitForSingleObject(process_.Get(), 0) != WAIT_TIMEOUT; }

private:
    UniqueHandle process_;
    // The held first thread, until it runs.
    UniqueHandle thread_;
};

// True when the block entry `entry` ("NAME=value") sets the variable `name`;
// Windows compares variable names ignoring case.
bool IsVariable(const wchar_t* entry, const wchar_t* name) {
    const wchar_t* equals = std::wcschr(entry, L'=');
    return equals != nullptr && ::CompareStringOrdinal(entry, static_cast<int>(equals - entry),
                                                       name, -1, TRUE) == CSTR_EQUAL;
}

// This program's environment block, without the one variable that would
// make cmd.exe look for "armada2" on the path before the game folder.
std::wstring EnvironmentForChild() {
    std::wstring block;
    const EnvironmentBlock strings(::GetEnvironmentStringsW());
    if (!strings.Valid())
        ThrowLastError();
    for (const wchar_t* entry = strings.Get(); *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        if (!IsVariable(entry, L"NoDefaultCurrentDirectoryInExePath")) {
            block += entry;
            block += L'\0';
        }
    }
    block += L'\0';
    if (block.size() == 1)
        block += L'\0'; // an empty block still ends in two zeros
    return block;
}

// The value of the environment variable `name`; empty when it is not set.
std::wstring EnvironmentVariable(const wchar_t* name) {
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length); // too small: the length asked for, with its zero
    }
}

// The system folder as GetSystemDirectoryW gives it.
std::string SystemDirectoryPath() {
    std::wstring folder(MAX_PATH, L'\0');
    const UINT length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length == 0 || length >= folder.size())
        ThrowLastError();
    folder.resize(length);
    return Narrow(folder);
}

// False when the system does not virtualize this program (elevated, UAC off,
// or under Wine, which has no virtualization); true when it cannot tell.
bool RunsVirtualized() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return true;
    const UniqueHandle owner(token);
    DWORD enabled = 0;
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof enabled, &size))
        return true;
    return enabled != 0;
}

} // namespace

std::string Win32Process::ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            ThrowLastError();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2); // truncated: try a larger buffer
    }
    return FolderOf(Narrow(path));
}

std::wstring SystemFilePath(const std::string& name) {
    return Widen(JoinPath(SystemDirectoryPath(), name));
}

std::string Win32Process::SystemFolder() {
    return WithoutClosingBackslash(SystemDirectoryPath());
}

std::string Win32Process::TemporaryFolder() {
    std::wstring folder(MAX_PATH + 1, L'\0');
    const DWORD length = ::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0 || length >= folder.size())
        ThrowLastError();
    folder.resize(length);
    return WithoutClosingBackslash(Narrow(folder));
}

std::vector<std::string> Win32Process::VirtualizedFolders() {
    if (!RunsVirtualized())
        return {};
    // The shared Windows folder: GetWindowsDirectoryW may answer a user's own
    // one under Terminal Services.
    wchar_t windows[MAX_PATH] = {};
    const UINT length = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring windowsFolder = length < MAX_PATH ? windows : L"";
    // A 32-bit program on a 64-bit system has both Program Files folders,
    // ProgramFiles naming the one for 32-bit programs.
    std::vector<std::string> folders;
    for (const std::wstring& folder :
         {EnvironmentVariable(L"ProgramFiles"), EnvironmentVariable(L"ProgramFiles(x86)"),
          EnvironmentVariable(L"ProgramW6432"), EnvironmentVariable(L"ProgramData"), windowsFolder})
        if (!folder.empty())
            folders.push_back(Narrow(folder));
    return folders;
}

std::unique_ptr<StartedProcess> Win32Process::Start(const std::string& application,
                                                    const std::string& commandLine,
                                                    const std::string& workingFolder,
                                                    int windowStyle) {
    const std::wstring module = Widen(application);
    std::wstring line = Widen(commandLine);
    const std::wstring folder = Widen(workingFolder);
    std::wstring environment = EnvironmentForChild();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(module.c_str(), line.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED,
                          environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup,
                          &started))
        ThrowLastError();
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    try {
        return std::make_unique<Win32StartedProcess>(std::move(process), std::move(thread));
    } catch (...) {
        ::TerminateProcess(process.Get(), 1); // held, so it never ran
        throw;
    }
}

void Win32Process::EndProgram() {
    ::ExitProcess(0);
}

} // namespace kolvek

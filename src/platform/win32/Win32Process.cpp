#include "platform/win32/Win32Process.h"

#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

#include <cwctype>

namespace kolvek {

namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& suffix) {
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (std::towlower(text[text.size() - suffix.size() + i]) != std::towlower(suffix[i]))
            return false;
    }
    return true;
}

bool IsBatchFile(const std::wstring& path) {
    return EndsWithNoCase(path, L".bat") || EndsWithNoCase(path, L".cmd");
}

std::wstring CommandInterpreter() {
    std::wstring comspec(MAX_PATH, L'\0');
    DWORD length =
        ::GetEnvironmentVariableW(L"COMSPEC", comspec.data(), static_cast<DWORD>(comspec.size()));
    if (length > comspec.size()) {
        comspec.resize(length);
        length = ::GetEnvironmentVariableW(L"COMSPEC", comspec.data(), length);
    }
    if (length > 0 && length < comspec.size()) {
        comspec.resize(length);
        return comspec;
    }
    std::wstring system(MAX_PATH, L'\0');
    length = ::GetSystemDirectoryW(system.data(), static_cast<UINT>(system.size()));
    if (length == 0 || length >= system.size())
        ThrowLastError();
    system.resize(length);
    return system + L"\\cmd.exe";
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
    std::wstring::size_type slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return Narrow(path);
    // Keep the backslash of a drive root ("E:\"), drop it everywhere else.
    if (slash == 2 && path[1] == L':')
        ++slash;
    return Narrow(path.substr(0, slash));
}

void Win32Process::StartCommand(const std::string& commandLine, int windowStyle) {
    const std::wstring path = Widen(commandLine);
    std::wstring application;
    std::wstring line;
    if (IsBatchFile(path)) {
        application = CommandInterpreter();
        // cmd drops the outer pair of quotes after /c and keeps the inner pair
        // around the name with its blanks.
        line = L"cmd.exe /c \"\"" + path + L"\"\"";
    } else {
        line = L"\"" + path + L"\"";
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                          nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &started))
        ThrowLastError();
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
}

void Win32Process::EndProgram() {
    ::ExitProcess(0);
}

} // namespace kolvek

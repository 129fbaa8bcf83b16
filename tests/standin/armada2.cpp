// Stand-in for the game's executable, for the tests and the demo only.
// Appends one line to "armada2.log" in its current folder (next to its own
// .exe when the current folder cannot be written): the command line it was
// started with and its current folder, as UTF-8, separated by a tab. Then it
// ends with exit code 0: at once, or, when a file "<its name>.wait" lies
// beside its .exe, after the milliseconds written in it, as a game that the
// user plays for a while.
//
// It also leaves an empty "<its name>.ran" beside itself, by which the tests
// tell that a copy put up as a decoy, a program that must never run, ran.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], size, nullptr, nullptr);
    bytes.resize(static_cast<std::size_t>(size) - 1);
    return bytes;
}

std::wstring CurrentFolder() {
    const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD got = ::GetCurrentDirectoryW(size, &folder[0]);
    folder.resize(got < size ? got : 0);
    return folder;
}

std::wstring ExePath() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD got = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::wstring(path, got);
}

std::wstring ExeFolder() {
    const std::wstring exe = ExePath();
    const std::wstring::size_type slash = exe.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash);
}

bool AppendTo(const std::wstring& folder, const std::string& line) {
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    path += L"armada2.log";
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == line.size();
}

// The milliseconds in "<exe without .exe>.wait", 0 without that file.
DWORD WaitTime(const std::wstring& exe) {
    const std::wstring path = exe.substr(0, exe.size() - 4) + L".wait";
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    char text[16] = {};
    DWORD read = 0;
    ::ReadFile(file, text, sizeof text - 1, &read, nullptr);
    ::CloseHandle(file);
    DWORD ms = 0;
    for (DWORD i = 0; i < read && text[i] >= '0' && text[i] <= '9'; ++i)
        ms = ms * 10 + static_cast<DWORD>(text[i] - '0');
    return ms;
}

} // namespace

int wmain() {
    const std::wstring folder = CurrentFolder();
    const std::string line = Utf8(::GetCommandLineW()) + "\t" + Utf8(folder.c_str()) + "\r\n";
    if (!AppendTo(folder, line))
        AppendTo(ExeFolder(), line);
    const std::wstring exe = ExePath();
    HANDLE ran = ::CreateFileW((exe + L".ran").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ran != INVALID_HANDLE_VALUE)
        ::CloseHandle(ran);
    ::Sleep(WaitTime(exe));
    return 0;
}

#pragma once
// Moves a file's write time back, for what a start makes of older copies.
// Shared by the Windows tests and the end-to-end driver.

#include <windows.h>

namespace kolvek::wintest {

// False when the time of `path` could not be set `seconds` before the clock.
inline bool SetWrittenSecondsAgo(const wchar_t* path, unsigned seconds) {
    const HANDLE file = ::CreateFileW(path, FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= seconds * 10000000ull; // in 100 ns
    const FILETIME then{time.LowPart, time.HighPart};
    const bool set = ::SetFileTime(file, nullptr, nullptr, &then) != FALSE;
    ::CloseHandle(file);
    return set;
}

} // namespace kolvek::wintest

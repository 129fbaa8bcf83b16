#pragma once
// Moves a file's last write time, for trying what a start makes of copies
// written earlier. Shared by the Windows tests and the end-to-end driver.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>

namespace kolvek::wintest {

// Sets the last write time of the file `path` `seconds` before the clock;
// false when that fails.
inline bool SetWrittenSecondsAgo(const wchar_t* path, std::uint64_t seconds) {
    const HANDLE file = ::CreateFileW(path, FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= seconds * 10000000; // in 100 ns
    const FILETIME then{time.LowPart, time.HighPart};
    const bool set = ::SetFileTime(file, nullptr, nullptr, &then) != FALSE;
    ::CloseHandle(file);
    return set;
}

} // namespace kolvek::wintest

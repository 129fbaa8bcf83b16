#include "platform/win32/Win32FileSystem.h"

#include "platform/PathText.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32TextFiles.h"

#include <cstdint>
#include <cstdio>

namespace kolvek {

namespace {

// Attributes that keep an entry out of a listing of ordinary files. 0x8 is the
// old volume-label bit, which FindFirstFileW never sets on NTFS but FAT media
// images may still carry.
constexpr DWORD kNotOrdinary =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | 0x8;

bool IsOrdinary(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & kNotOrdinary) == 0;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// True for "X:..." when there is no drive X at all. The search itself only
// says "path not found" then, which would read as "no such file".
bool NamesMissingDrive(const std::string& path) {
    const std::string drive = DriveOf(path);
    return !drive.empty() &&
           ::GetDriveTypeW(Widen(WithClosingBackslash(drive)).c_str()) == DRIVE_NO_ROOT_DIR;
}

// `value` in hexadecimal capitals, at least `digits` of them.
std::string Hex(DWORD value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*lX", digits, static_cast<unsigned long>(value));
    return text;
}

} // namespace

std::unique_ptr<TextInput> Win32FileSystem::OpenText(const std::string& path) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid())
        ThrowLastError();
    return std::make_unique<Win32TextInput>(std::move(file));
}

std::unique_ptr<TextOutput> Win32FileSystem::CreateText(const std::string& path, CodePage page) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        ThrowLastError();
    return std::make_unique<Win32TextOutput>(std::move(file), Win32CodePage(page));
}

void Win32FileSystem::MoveOnto(const std::string& from, const std::string& to) {
    // A file that writing in place could not replace (read-only, hidden or
    // system) is not replaced by a rename either.
    const DWORD target = ::GetFileAttributesW(Widen(to).c_str());
    if (target != INVALID_FILE_ATTRIBUTES &&
        (target & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0)
        throw RuntimeError(err::PathFileAccessError);
    if (!::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        ThrowLastError();
}

void Win32FileSystem::RemoveFile(const std::string& path) {
    if (!::DeleteFileW(Widen(path).c_str()))
        ThrowLastError();
}

std::string Win32FileSystem::FirstMatchingFile(const std::string& pattern) {
    if (pattern.empty())
        return {};
    const std::wstring widePattern = Widen(pattern);
    WIN32_FIND_DATAW entry{};
    FindHandle search(::FindFirstFileW(widePattern.c_str(), &entry));
    if (!search.Valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_PATH_NOT_FOUND && NamesMissingDrive(pattern))
            throw RuntimeError(err::DeviceUnavailable);
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES ||
            error == ERROR_PATH_NOT_FOUND)
            return {};
        ThrowWin32Error(error);
    }
    do {
        if (IsOrdinary(entry))
            return Narrow(entry.cFileName);
    } while (::FindNextFileW(search.Get(), &entry));
    const DWORD error = ::GetLastError();
    if (error != ERROR_NO_MORE_FILES)
        ThrowWin32Error(error);
    return {};
}

std::vector<std::string> Win32FileSystem::ListFiles(const std::string& folder) {
    const std::wstring wideFolder = Widen(WithClosingBackslash(folder));
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    FindHandle search(::FindFirstFileW((wideFolder + L'*').c_str(), &entry));
    if (!search.Valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND && IsFolder(wideFolder))
            return names; // an empty drive root has no "." entry
        if (NamesMissingDrive(folder))
            throw RuntimeError(err::DeviceUnavailable);
        // A missing folder, or a file named like one (Windows says "path not
        // found" or "not a directory" there, Wine "invalid name").
        if (!IsFolder(wideFolder) &&
            (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
             error == ERROR_DIRECTORY || error == ERROR_INVALID_NAME))
            throw RuntimeError(err::PathNotFound);
        ThrowWin32Error(error);
    }
    do {
        if (IsOrdinary(entry))
            names.push_back(Narrow(entry.cFileName));
    } while (::FindNextFileW(search.Get(), &entry));
    const DWORD error = ::GetLastError();
    if (error != ERROR_NO_MORE_FILES)
        ThrowWin32Error(error);
    return names;
}

NewTextFile Win32FileSystem::CreateUniqueText(const std::string& folder, const std::string& prefix,
                                              const std::string& extension, CodePage page) {
    // The process id and the time in 100 ns steps make the name unique across
    // runs; the counter within one. CREATE_NEW never takes an existing file.
    static unsigned counter = 0;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const std::wstring base = Widen(WithClosingBackslash(folder));
    for (int attempt = 0;; ++attempt) {
        const std::string name = prefix + Hex(::GetCurrentProcessId(), 1) + "-" +
                                 Hex(now.dwHighDateTime, 8) + Hex(now.dwLowDateTime, 8) + "-" +
                                 Hex(++counter, 1) + extension;
        const std::wstring path = base + Widen(name);
        UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid())
            return {Narrow(path),
                    std::make_unique<Win32TextOutput>(std::move(file), Win32CodePage(page))};
        const DWORD error = ::GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 100)
            ThrowWin32Error(error);
    }
}

bool Win32FileSystem::FolderExists(const std::string& path) {
    return IsFolder(Widen(path));
}

bool Win32FileSystem::IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32FileSystem::CreateFolder(const std::string& path) {
    const std::wstring widePath = Widen(path);
    if (!::CreateDirectoryW(widePath.c_str(), nullptr) &&
        !(::GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(widePath)))
        ThrowLastError();
}

std::string Win32FileSystem::ShortPath(const std::string& path) {
    const std::wstring longPath = Widen(path);
    std::wstring shortPath(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetShortPathNameW(longPath.c_str(), shortPath.data(),
                                                 static_cast<DWORD>(shortPath.size()));
        if (length == 0)
            ThrowLastError();
        if (length < shortPath.size()) {
            shortPath.resize(length);
            return Narrow(shortPath);
        }
        shortPath.resize(length); // the size it needs, with its terminator
    }
}

std::string Win32FileSystem::LongPath(const std::string& path) {
    const std::wstring widePath = Widen(path);
    const DWORD size = ::GetLongPathNameW(widePath.c_str(), nullptr, 0);
    if (size == 0)
        return path;
    std::wstring longPath(size, L'\0');
    const DWORD length = ::GetLongPathNameW(widePath.c_str(), longPath.data(), size);
    if (length == 0 || length >= size)
        return path;
    longPath.resize(length);
    return Narrow(longPath);
}

std::chrono::milliseconds Win32FileSystem::TimeSinceWritten(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data))
        ThrowLastError();
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    // Both count 100 ns since 1601.
    const auto ticks = [](const FILETIME& time) {
        return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                         time.dwLowDateTime);
    };
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;
    return std::chrono::floor<std::chrono::milliseconds>(
        Ticks(ticks(now) - ticks(data.ftLastWriteTime)));
}

} // namespace kolvek

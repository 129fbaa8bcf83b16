#include "Win32TestSupport.h"

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace kolvek::wintest {

namespace {

const char kTestRoot[] = "Software\\KOLVEKTest";

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    FindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (search.Valid()) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(search.Get(), &entry));
    }
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

std::string UniqueName() {
    static std::atomic<unsigned> counter{0};
    return std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount()) + "-" +
           std::to_string(++counter);
}

TempFolder::TempFolder(const std::string& prefix) {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("no temporary folder");
    path_ = Narrow(std::wstring(temp, length)) + prefix + " " + UniqueName();
    if (!::CreateDirectoryW(Widen(path_).c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

TempFolder::~TempFolder() {
    RemoveTree(Widen(path_));
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.Valid()) << "cannot create " << path;
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(bytes.size(), written);
}

std::string ReadBytes(const std::string& path) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        ADD_FAILURE() << "cannot open " << path;
        return {};
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() >= deadline)
            return condition();
        ::Sleep(20);
    }
    return true;
}

bool PathExists(const std::string& path) {
    return ::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolder(const std::string& path) {
    ASSERT_TRUE(::CreateDirectoryW(Widen(path).c_str(), nullptr)) << path;
}

void SetAttributes(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(::SetFileAttributesW(Widen(path).c_str(), attributes)) << path;
}

bool ReadOnlyIsEnforced(const std::string& path) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.Valid();
}

std::string MissingDriveRoot() {
    const DWORD drives = ::GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        if ((drives & (1u << (letter - 'A'))) == 0)
            return std::string(1, letter) + ":\\";
    }
    throw std::runtime_error("no free drive letter");
}

namespace {
void RemoveInstallPathEntry() {
    const char* keys[] = {kInstallKey, "SOFTWARE\\Activision\\Star Trek Armada II",
                          "SOFTWARE\\Activision"};
    for (const char* path : keys)
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path); // only while empty of subkeys
}
} // namespace

InstallPathEntry::InstallPathEntry()
    : mutex_(::CreateMutexW(nullptr, FALSE, L"KOLVEKTest.InstallPathEntry")) {
    if (mutex_ == nullptr)
        throw std::runtime_error("cannot create the install path mutex");
    ::WaitForSingleObject(mutex_, 60000);
    RemoveInstallPathEntry();
}

InstallPathEntry::~InstallPathEntry() {
    RemoveInstallPathEntry();
    ::ReleaseMutex(mutex_);
    ::CloseHandle(mutex_);
}

void InstallPathEntry::Set(const std::string& ansiPath) {
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kInstallKey, 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key.Get(), "INSTALLPATH", 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(ansiPath.c_str()),
                                              static_cast<DWORD>(ansiPath.size() + 1)));
}

TestRegistryKey::TestRegistryKey() : subKey_(std::string(kTestRoot) + "\\" + UniqueName()) {
    RegistryKey key;
    const LONG rc = ::RegCreateKeyExA(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    if (rc != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the test key");
}

TestRegistryKey::~TestRegistryKey() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, subKey_.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestRoot); // fails while other tests use it
}

void TestRegistryKey::SetValue(const std::string& name, DWORD type, const std::string& bytes) {
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegOpenKeyExA(HKEY_CURRENT_USER, subKey_.c_str(), 0, KEY_SET_VALUE, key.Receive()));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key.Get(), name.c_str(), 0, type,
                                              reinterpret_cast<const BYTE*>(bytes.data()),
                                              static_cast<DWORD>(bytes.size())));
}

} // namespace kolvek::wintest

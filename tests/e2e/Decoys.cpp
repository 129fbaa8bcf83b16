#include "Decoys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace e2e {

namespace {

const wchar_t kDone[] = L".kolvek-unix-done";

void Collect(const std::wstring& folder, std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Collect(folder + L"\\" + name, files);
        else
            files.push_back(folder + L"\\" + name);
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
}

// `bytes` as a printf format that prints them: octal escapes for all but
// letters, digits and a few plain marks.
std::string PrintfFormat(const std::string& bytes) {
    std::string format;
    for (unsigned char c : bytes) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '.' || c == '_' || c == '-') {
            format += static_cast<char>(c);
        } else {
            const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)),
                                  static_cast<char>('0' + ((c >> 3) & 7)),
                                  static_cast<char>('0' + (c & 7)), '\0'};
            format += octal;
        }
    }
    return format;
}

std::string UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr)
        return std::string();
    char* unix = toUnix(path.c_str());
    if (unix == nullptr)
        return std::string();
    std::string result = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

} // namespace

Decoy::Decoy(std::wstring path) : path_(std::move(path)) {
    CopyPayload(L"armada2.exe", path_);
}

Decoy::~Decoy() {
    if (path_.empty())
        return;
    ::DeleteFileW(path_.c_str());
    ::DeleteFileW((path_ + L".ran").c_str());
}

Decoy::Decoy(Decoy&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

bool Decoy::Ran() const {
    return IsFile(path_ + L".ran");
}

::testing::AssertionResult NoDecoyRan(const std::vector<Decoy>& decoys) {
    std::string ran;
    for (const Decoy& decoy : decoys) {
        if (decoy.Ran())
            ran += " " + ToUtf8(decoy.Path());
    }
    if (ran.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "decoys ran:" << ran;
}

std::vector<std::wstring> FilesBelow(const std::wstring& folder) {
    std::vector<std::wstring> files;
    Collect(folder, files);
    return files;
}

FileSnapshot::FileSnapshot(std::wstring root) : root_(std::move(root)), files_(FilesBelow(root_)) {}

std::vector<std::wstring> FileSnapshot::DeletedOutside(const std::wstring& mapFolder) const {
    std::wstring inMaps = mapFolder;
    if (!inMaps.empty() && inMaps.back() != L'\\')
        inMaps += L'\\';
    // Listed anew rather than looked up one by one: a name Windows forbids
    // can be listed, but not looked up.
    const std::vector<std::wstring> now = FilesBelow(root_);
    std::vector<std::wstring> deleted;
    for (const std::wstring& path : files_) {
        const bool inMapFolder = !inMaps.empty() && path.compare(0, inMaps.size(), inMaps) == 0;
        if (!inMapFolder && std::find(now.begin(), now.end(), path) == now.end())
            deleted.push_back(path);
    }
    return deleted;
}

UnixSideFiles::UnixSideFiles(const std::wstring& folder, std::vector<std::string> names)
    : folder_(folder), unixFolder_(UnixPath(folder)), names_(std::move(names)) {
    EXPECT_FALSE(unixFolder_.empty()) << "no Unix path for " << ToUtf8(folder);
    ForEachName("touch");
}

UnixSideFiles::~UnixSideFiles() {
    ForEachName("rm -f");
}

void UnixSideFiles::ForEachName(const char* command) {
    if (unixFolder_.empty() || unixFolder_.find('\'') != std::string::npos)
        return;
    std::string format;
    for (const std::string& name : names_)
        format += PrintfFormat(name) + "\\000";
    // Wine starts Unix programs detached: the last command leaves a mark to
    // wait for.
    const std::string script = "cd '" + unixFolder_ + "' && printf '" + format + "' | xargs -0 " +
                               command + "; touch " + ToUtf8(kDone);
    std::wstring line = L"sh -c \"" + FromUtf8(script) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(L"Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &started))
        << "cannot run /bin/sh: error " << ::GetLastError();
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    const std::wstring done = folder_ + L"\\" + kDone;
    EXPECT_TRUE(WaitUntil([&] { return IsFile(done); })) << "/bin/sh did not finish";
    ::DeleteFileW(done.c_str());
}

} // namespace e2e

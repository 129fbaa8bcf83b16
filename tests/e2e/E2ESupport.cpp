#include "E2ESupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <utility>

#include <tlhelp32.h>

namespace e2e {

namespace {

// Before any window or device context: like Windows, Wine from 9.17 on shows
// a DPI-unaware process the windows of others scaled to 96 dpi, while the
// tests measure the dialog in the display's own pixels.
[[maybe_unused]] const bool kDpiAware = ::SetProcessDPIAware() != FALSE;

const wchar_t kDialogClass[] = L"KolvekWorldEdit";
const wchar_t kMessageBoxClass[] = L"#32770";
const wchar_t kGameValue[] = L"INSTALLPATH";
constexpr REGSAM kView = kGameKeyView;

std::wstring DriverFolder() {
    std::wstring path(MAX_PATH * 4, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L'\\'));
}

// C:\kolvek_e2e, on the system drive of the prefix.
std::wstring AllInstallationsFolder() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows, 3) + L"kolvek_e2e";
}

std::wstring UniqueName() {
    static unsigned counter = 0;
    return std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount()) +
           L"-" + std::to_wstring(++counter);
}

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            if (start < bytes.size())
                lines.push_back(bytes.substr(start));
            return lines;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
}

struct ProcessWindows {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessWindows*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId)
        return TRUE;
    if (ClassOf(window) != search->className)
        return TRUE;
    if (search->visibleOnly && !::IsWindowVisible(window))
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOf(DWORD processId, const wchar_t* className, bool visibleOnly) {
    ProcessWindows search{processId, className, visibleOnly, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ShownChild(HWND parent, int id) {
    HWND child = ::GetDlgItem(parent, id);
    return child != nullptr && (::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
}

// What the box's icon shows, told apart by colour: the critical icon is red,
// the exclamation icon yellow. Read from the screen, where the box is drawn.
BoxIcon IconOf(HWND box) {
    HWND icon = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == L"Static" &&
            (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            icon = child;
            break;
        }
    }
    if (icon == nullptr || !::IsWindowVisible(icon) || ::SendMessageW(icon, STM_GETICON, 0, 0) == 0)
        return BoxIcon::None;
    RECT rect{};
    ::GetWindowRect(icon, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return BoxIcon::None;

    int red = 0;
    int yellow = 0;
    // The box may not be painted yet, least of all on a busy machine: look
    // again until the icon's colours are there.
    WaitUntil(
        [&] {
            HDC screen = ::GetDC(nullptr);
            red = 0;
            yellow = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const COLORREF c = ::GetPixel(screen, rect.left + x, rect.top + y);
                    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                    if (r > 160 && g < 100 && b < 100)
                        ++red;
                    else if (r > 160 && g > 140 && b < 100)
                        ++yellow;
                }
            }
            ::ReleaseDC(nullptr, screen);
            return red + yellow > width * height / 10;
        },
        kPatience);
    if (red + yellow <= width * height / 10)
        return BoxIcon::Other;
    return red > yellow ? BoxIcon::Critical : BoxIcon::Exclamation;
}

// Two runs of this driver in one Wine prefix (two ctest runs in one build
// tree) would fight over the game's registry value and the display's focus:
// the second one waits for the first.
class OneRunAtATime : public ::testing::Environment {
public:
    void SetUp() override {
        mutex_ = ::CreateMutexW(nullptr, FALSE, L"KolvekEndToEndTests");
        ASSERT_NE(nullptr, mutex_);
        const DWORD waited = ::WaitForSingleObject(mutex_, INFINITE);
        ASSERT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED);
    }
    void TearDown() override {
        if (mutex_ == nullptr)
            return;
        ::ReleaseMutex(mutex_);
        ::CloseHandle(mutex_);
        mutex_ = nullptr;
    }

private:
    HANDLE mutex_ = nullptr;
};

const ::testing::Environment* const kOneRunAtATime =
    ::testing::AddGlobalTestEnvironment(new OneRunAtATime);

} // namespace

// --- Text and files -----------------------------------------------------------

void CopyPayload(const std::wstring& name, const std::wstring& target) {
    const std::wstring source = DriverFolder() + L"\\" + name;
    ASSERT_TRUE(::CopyFileW(source.c_str(), target.c_str(), FALSE))
        << "cannot copy " << ToUtf8(source) << " to " << ToUtf8(target) << ": error "
        << ::GetLastError();
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

std::string ToUtf8(const std::wstring& text) {
    return Encode(text, CP_UTF8);
}

std::string Encode(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return std::string();
    const int size = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                          nullptr, nullptr);
    return bytes;
}

void MakeFolders(const std::wstring& path) {
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
         slash = path.find(L'\\', slash + 1))
        ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
    ASSERT_TRUE(IsFolder(path)) << "cannot create " << ToUtf8(path);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << "cannot create " << ToUtf8(path);
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_TRUE(ok && written == bytes.size()) << "cannot write " << ToUtf8(path);
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open " << ToUtf8(path);
        return std::string();
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(path.c_str());
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() >= deadline)
            return condition();
        ::Sleep(20);
    }
}

// --- The installation ------------------------------------------------------------

std::wstring GameStart::ProgramName() const {
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t end = commandLine.find(L'"', 1);
        return commandLine.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1);
    }
    return commandLine.substr(0, commandLine.find(L' '));
}

std::wstring GameStart::Arguments() const {
    std::size_t end;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring::npos ? commandLine.size() : end + 1;
    } else {
        end = commandLine.find(L' ');
        if (end == std::wstring::npos)
            end = commandLine.size();
    }
    const std::size_t start = commandLine.find_first_not_of(L' ', end);
    return start == std::wstring::npos ? std::wstring() : commandLine.substr(start);
}

Installation::Installation(const std::wstring& programSubfolder, const std::wstring& gameSubfolder)
    : root_(AllInstallationsFolder() + L"\\" + UniqueName()) {
    Make(programSubfolder, gameSubfolder);
}

Installation::Installation(const std::wstring& programSubfolder, std::size_t gameFolderLength)
    : root_(AllInstallationsFolder() + L"\\" + UniqueName()) {
    // Parts of at most 100 letters, none shorter than 2.
    std::wstring subfolder;
    for (wchar_t letter = L'a'; root_.size() + 1 + subfolder.size() < gameFolderLength; ++letter) {
        if (!subfolder.empty())
            subfolder += L'\\';
        const std::size_t missing = gameFolderLength - root_.size() - 1 - subfolder.size();
        subfolder += std::wstring(missing > 102 ? 100 : missing, letter);
    }
    Make(programSubfolder, subfolder);
}

void Installation::Make(const std::wstring& programSubfolder, const std::wstring& gameSubfolder) {
    programFolder_ = root_ + L"\\" + programSubfolder;
    gameFolder_ = root_ + L"\\" + gameSubfolder + L"\\";
    MakeFolders(programFolder_);
    MakeFolders(gameFolder_ + L"bzn");
    MakeFolders(TempFolder());
    CopyPayload(L"KOLVEK.EXE", KolvekExe());
    CopyPayload(L"armada2.exe", GameFile(L"armada2.exe"));
}

Installation::~Installation() {
    RemoveTree(root_);
    // Goes only when no other installation is left in it.
    ::RemoveDirectoryW(AllInstallationsFolder().c_str());
}

std::wstring Installation::ProgramFile(const std::wstring& name) const {
    return programFolder_ + L"\\" + name;
}

std::wstring Installation::GameFile(const std::wstring& name) const {
    return gameFolder_ + name;
}

std::wstring Installation::MapFile(const std::wstring& name) const {
    return gameFolder_ + L"bzn\\" + name;
}

void Installation::AddMap(const std::wstring& name) {
    WriteFileBytes(MapFile(name), "KOLVEK e2e map " + ToUtf8(name) + "\r\n");
}

void Installation::WriteSettings(const std::string& bytes) {
    WriteFileBytes(ProgramFile(L"kolvar.ini"), bytes);
}

void Installation::WriteSettingsForGameFolder() {
    WriteSettings(SettingsBytes(gameFolder_));
}

std::string Installation::SettingsBytes(const std::wstring& gameFolder) const {
    return "[General]\r\nArmadaPath = " + Encode(gameFolder, CP_ACP) + "\r\n";
}

std::string Installation::ScriptBytes(const std::wstring& gameLine) const {
    return ScriptBytesFor(gameFolder_, gameLine);
}

std::string Installation::ScriptBytesFor(const std::wstring& folder, const std::wstring& gameLine) {
    // A drive root keeps its backslash: "cd "K:"" would stay in K:'s current
    // folder.
    const std::wstring entered = folder.size() == 3 ? folder : folder.substr(0, folder.size() - 1);
    const std::wstring text = folder.substr(0, 2) + L"\r\ncd \"" + entered + L"\"\r\n" + gameLine +
                              L"\r\ncd \\\r\nc:\r\n";
    return Encode(text, CP_OEMCP);
}

std::vector<GameStart> Installation::GameStarts() const {
    const std::wstring log = GameFile(L"armada2.log");
    std::vector<GameStart> starts;
    if (!IsFile(log))
        return starts;
    for (const std::string& line : SplitLines(ReadFileBytes(log))) {
        const std::size_t tab = line.find('\t');
        GameStart start;
        start.commandLine = FromUtf8(line.substr(0, tab));
        if (tab != std::string::npos)
            start.folder = FromUtf8(line.substr(tab + 1));
        starts.push_back(start);
    }
    return starts;
}

std::vector<GameStart> Installation::WaitForGameStarts(std::size_t count, DWORD timeoutMs) const {
    WaitUntil([&] { return GameStarts().size() >= count; }, timeoutMs);
    return GameStarts();
}

std::wstring LongPath(const std::wstring& path) {
    std::wstring result(32768, L'\0');
    const DWORD length =
        ::GetLongPathNameW(path.c_str(), &result[0], static_cast<DWORD>(result.size()));
    result.resize(length < result.size() ? length : 0);
    return result;
}

void ExpectGameStart(const Installation& installation, const GameStart& start,
                     const std::wstring& arguments) {
    EXPECT_EQ(arguments, start.Arguments()) << ToUtf8(start.commandLine);
    std::wstring name = start.ProgramName();
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    const auto endsWith = [&](const std::wstring& end) {
        return name.size() >= end.size() &&
               name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    EXPECT_TRUE(endsWith(L"armada2") || endsWith(L"armada2.exe")) << ToUtf8(start.commandLine);
    const std::wstring folder = installation.GameFolder();
    EXPECT_TRUE(::CompareStringOrdinal(LongPath(folder.substr(0, folder.size() - 1)).c_str(), -1,
                                       LongPath(start.folder).c_str(), -1, TRUE) == CSTR_EQUAL)
        << ToUtf8(start.folder);
}

// --- The game's registry value ----------------------------------------------------

bool GameKeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_READ | kView, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

HKEY InstallPathValue::OpenKeySavingValue() {
    active_ = true;
    const std::wstring path = kGameKey;
    for (std::size_t slash = path.find(L'\\');; slash = path.find(L'\\', slash + 1)) {
        const std::wstring key = path.substr(0, slash);
        HKEY opened = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | kView, &opened) ==
            ERROR_SUCCESS)
            ::RegCloseKey(opened);
        else
            createdKeys_.push_back(key);
        if (slash == std::wstring::npos)
            break;
    }
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0,
                                KEY_QUERY_VALUE | KEY_SET_VALUE | kView, nullptr, &key, nullptr));
    if (key == nullptr)
        return nullptr;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, kGameValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        hadValue_ = true;
        oldType_ = type;
        oldData_.resize(size);
        ::RegQueryValueExW(key, kGameValue, nullptr, &type, oldData_.data(), &size);
    }
    return key;
}

InstallPathValue InstallPathValue::Set(const std::wstring& installPath) {
    InstallPathValue value;
    HKEY key = value.OpenKeySavingValue();
    if (key == nullptr)
        return value;
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegSetValueExW(key, kGameValue, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(installPath.c_str()),
                               static_cast<DWORD>((installPath.size() + 1) * sizeof(wchar_t))));
    ::RegCloseKey(key);
    return value;
}

InstallPathValue InstallPathValue::Absent() {
    InstallPathValue value;
    HKEY key = value.OpenKeySavingValue();
    if (key == nullptr)
        return value;
    if (value.hadValue_) {
        EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteValueW(key, kGameValue));
    }
    ::RegCloseKey(key);
    return value;
}

InstallPathValue::InstallPathValue(InstallPathValue&& other) noexcept
    : active_(other.active_), createdKeys_(std::move(other.createdKeys_)),
      hadValue_(other.hadValue_), oldType_(other.oldType_), oldData_(std::move(other.oldData_)) {
    other.active_ = false;
}

InstallPathValue::~InstallPathValue() {
    if (active_)
        Restore();
}

void InstallPathValue::Restore() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_SET_VALUE | kView, &key) ==
        ERROR_SUCCESS) {
        if (hadValue_)
            ::RegSetValueExW(key, kGameValue, 0, oldType_, oldData_.data(),
                             static_cast<DWORD>(oldData_.size()));
        else
            ::RegDeleteValueW(key, kGameValue);
        ::RegCloseKey(key);
    }
    for (auto it = createdKeys_.rbegin(); it != createdKeys_.rend(); ++it)
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, it->c_str(), kView, 0);
}

// --- The running program -------------------------------------------------------------

namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The driver's environment block with `changes` made.
std::wstring EnvironmentBlock(const Environment& changes) {
    std::wstring block;
    wchar_t* strings = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        const std::wstring text = entry;
        const std::wstring name = text.substr(0, text.find(L'=', 1));
        bool changed = false;
        for (const auto& change : changes)
            changed = changed || SameName(change.first, name);
        if (!changed)
            block += text + L'\0';
    }
    ::FreeEnvironmentStringsW(strings);
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        // A later change of the same variable wins.
        const bool overridden = std::any_of(it + 1, changes.end(), [&](const auto& later) {
            return SameName(later.first, it->first);
        });
        if (!overridden)
            block += it->first + L"=" + it->second + L'\0';
    }
    return block + L'\0';
}

} // namespace

Program::Program(const Installation& installation, const Environment& environment) {
    const std::wstring exe = installation.KolvekExe();
    std::wstring commandLine = L"\"" + exe + L"\"";
    Environment changes = {{L"TMP", installation.TempFolder()},
                           {L"TEMP", installation.TempFolder()}};
    changes.insert(changes.end(), environment.begin(), environment.end());
    std::wstring block = EnvironmentBlock(changes);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const BOOL started = ::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                                          CREATE_UNICODE_ENVIRONMENT, &block[0],
                                          installation.Root().c_str(), &startup, &process_);
    EXPECT_TRUE(started) << "cannot start " << ToUtf8(exe) << ": error " << ::GetLastError();
}

Program::~Program() {
    if (process_.hProcess == nullptr)
        return;
    if (Running()) {
        ::TerminateProcess(process_.hProcess, 1);
        ::WaitForSingleObject(process_.hProcess, 5000);
    }
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
}

HWND Program::WaitForDialog(DWORD timeoutMs) {
    WaitUntil(
        [&] {
            const std::vector<HWND> found = WindowsOf(process_.dwProcessId, kDialogClass, true);
            dialog_ = found.empty() ? nullptr : found.front();
            return dialog_ != nullptr || !Running();
        },
        timeoutMs);
    EXPECT_NE(nullptr, dialog_) << "the launcher dialog did not show";
    // The program is ready for input once its message loop runs.
    Sync();
    return dialog_;
}

bool Program::DialogShown() const {
    return !WindowsOf(process_.dwProcessId, kDialogClass, true).empty();
}

HWND Program::Item(int id) const {
    return dialog_ == nullptr ? nullptr : ::GetDlgItem(dialog_, id);
}

std::vector<HWND> Program::MessageBoxes() const {
    return WindowsOf(process_.dwProcessId, kMessageBoxClass, false);
}

bool Program::HasMessageBox() const {
    return !MessageBoxes().empty();
}

MessageBoxView Program::WaitForMessageBox(DWORD timeoutMs) {
    MessageBoxView box;
    WaitUntil(
        [&] {
            const std::vector<HWND> shown = WindowsOf(process_.dwProcessId, kMessageBoxClass, true);
            box.window = shown.empty() ? nullptr : shown.front();
            return box.window != nullptr || !Running();
        },
        timeoutMs);
    if (box.window == nullptr) {
        ADD_FAILURE() << "no message box showed";
        return box;
    }
    box.title = WindowText(box.window);
    box.text = WindowText(::GetDlgItem(box.window, kMessageBoxText));
    box.okButton = ShownChild(box.window, IDOK);
    box.cancelButton = ShownChild(box.window, IDCANCEL);
    box.icon = IconOf(box.window);
    return box;
}

void Program::Answer(const MessageBoxView& box, int button) {
    HWND target = ::GetDlgItem(box.window, button);
    ASSERT_NE(nullptr, target) << "the message box has no button " << button;
    Post(target, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box.window); }))
        << "the message box stayed open";
}

bool Program::Running() const {
    return process_.hProcess != nullptr &&
           ::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess != nullptr)
        ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool Program::WaitForLaunchesToEnd(DWORD timeoutMs) const {
    return WaitUntil(
        [&] {
            HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
            if (snapshot == INVALID_HANDLE_VALUE)
                return false;
            PROCESSENTRY32W entry{};
            entry.dwSize = sizeof entry;
            bool running = false;
            for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !running;
                 more = ::Process32NextW(snapshot, &entry))
                running = entry.th32ParentProcessID == process_.dwProcessId &&
                          SameName(entry.szExeFile, L"cmd.exe");
            ::CloseHandle(snapshot);
            return !running;
        },
        timeoutMs);
}

bool Program::WaitForExit(DWORD timeoutMs) {
    return process_.hProcess != nullptr &&
           ::WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void Program::Sync() {
    // The hidden path box's "modified" flag is a marker nothing else reads:
    // messages posted to one thread are handled in order, so once the flag
    // flips, everything posted before it has been handled (or has opened a
    // modal message box, whose own loop handled the marker).
    HWND marker = Item(kArmadapath);
    if (marker == nullptr || !Running())
        return;
    syncFlag_ = !syncFlag_;
    Post(marker, EM_SETMODIFY, syncFlag_ ? TRUE : FALSE, 0);
    const bool done = WaitUntil([&] {
        if (!::IsWindow(marker))
            return true;
        DWORD_PTR modified = 0;
        ::SendMessageTimeoutW(marker, EM_GETMODIFY, 0, 0, SMTO_ABORTIFHUNG, 1000, &modified);
        return (modified != 0) == syncFlag_;
    });
    EXPECT_TRUE(done) << "the program did not handle its messages";
}

void Program::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(::PostMessageW(window, message, wParam, lParam));
}

void Program::Click(int id) {
    Post(Item(id), BM_CLICK, 0, 0);
    Sync();
}

void Program::ClickMap(const std::wstring& name) {
    HWND list = Item(kMapList);
    ASSERT_NE(nullptr, list);
    const LRESULT index = ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(name.c_str()));
    ASSERT_NE(LB_ERR, index) << "the map list has no entry " << ToUtf8(name);
    RECT item{};
    ASSERT_NE(LB_ERR, ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(&item)));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    Post(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    Post(list, WM_LBUTTONUP, 0, point);
    Sync();
    ASSERT_EQ(index, ::SendMessageW(list, LB_GETCURSEL, 0, 0)) << "the click did not select";
}

void Program::Type(const std::wstring& text) {
    HWND target = Focus();
    ASSERT_NE(nullptr, target) << "nothing has the focus";
    for (wchar_t c : text)
        Post(target, WM_CHAR, c, 1);
    Sync();
}

void Program::PressKey(UINT virtualKey) {
    HWND target = Focus();
    ASSERT_NE(nullptr, target) << "nothing has the focus";
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    Post(target, WM_KEYDOWN, virtualKey, scan | 1);
    // The key-down may already have closed the dialog (Esc, Enter), so the
    // key-up may find no window to go to.
    ::PostMessageW(target, WM_KEYUP, virtualKey, scan | 1 | (1 << 30) | (1u << 31));
    Sync();
}

void Program::DoubleClickPicture() {
    HWND picture = Item(kPicture);
    ASSERT_NE(nullptr, picture);
    RECT client{};
    ::GetClientRect(picture, &client);
    const LPARAM point = MAKELPARAM(client.right / 2, client.bottom / 2);
    Post(picture, WM_LBUTTONDOWN, MK_LBUTTON, point);
    Post(picture, WM_LBUTTONUP, 0, point);
    Post(picture, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    Post(picture, WM_LBUTTONUP, 0, point);
    Sync();
}

void Program::CloseFromSystemMenu() {
    Post(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND Program::Focus() const {
    if (dialog_ == nullptr)
        return nullptr;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog_, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::wstring Program::Text(int id) const {
    return WindowText(Item(id));
}

std::pair<int, int> Program::NameSelection() const {
    const LRESULT selection = ::SendMessageW(Item(kNameBox), EM_GETSEL, 0, 0);
    return {LOWORD(selection), HIWORD(selection)};
}

bool Program::IsVisible(int id) const {
    HWND item = Item(id);
    return item != nullptr && (::GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::vector<std::wstring> Program::MapListEntries() const {
    HWND list = Item(kMapList);
    std::vector<std::wstring> entries;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT got = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                           reinterpret_cast<LPARAM>(&entry[0]));
        entry.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
        entries.push_back(entry);
    }
    return entries;
}

std::wstring WindowText(HWND window) {
    if (window == nullptr)
        return std::wstring();
    wchar_t text[2048] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, kPatience, &copied);
    return std::wstring(text, copied);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace e2e

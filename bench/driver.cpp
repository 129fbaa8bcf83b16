// Benchmark driver, run under Wine. Starts programs, waits for what a user
// would wait for and prints one line per measurement:
//
//   sample <label> <milliseconds>
//   count <label> <entries in the map list>      (start-up, once per label)
//
// kolvek_bench_driver startup ROUNDS WARMUP LABEL=EXE[|FOLDER[|TEMP]] ...
//     From CreateProcess to the program's first visible top-level window,
//     painted and answering messages (after WaitForInputIdle). The programs
//     take turns, the order rotating from round to round, so that drift of
//     the machine spreads evenly. FOLDER is the current folder (default, or
//     when empty: the program's own); TEMP, when given, is the program's
//     temporary folder (TEMP and TMP) instead of the user's. The mouse pointer
//     rests in the screen's top left corner, away from every dialog, and
//     each start waits until the program before has ended some time ago.
//
// kolvek_bench_driver launch ROUNDS WARMUP KOLVEK_EXE GAME_LOG
//     Starts KOLVEK.EXE once, selects the first map and then alternates:
//     "kolvek": BM_CLICK posted to OK until the stand-in game's log has a new
//     line; "cmd": `cmd /c RunA2.bat` (the script KOLVEK.EXE just wrote)
//     started the way KOLVEK.EXE starts it, until the same.
//
// Exit code 0 on success, 1 when something did not happen in time.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPatienceMs = 60000;
constexpr int kMapListId = 1002;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                          nullptr, nullptr);
    return bytes;
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "driver: %s\n", what.c_str());
    std::fflush(stderr);
    std::exit(1);
}

void Sample(const std::wstring& label, double ms) {
    std::printf("sample %s %.3f\n", Utf8(label).c_str(), ms);
    std::fflush(stdout);
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

struct Started {
    HANDLE process = nullptr;
    DWORD id = 0;
};

Started Start(const std::wstring& exe, const std::wstring& folder) {
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info))
        Fail("cannot start " + Utf8(exe) + ": error " + std::to_string(::GetLastError()));
    ::CloseHandle(info.hThread);
    return {info.hProcess, info.dwProcessId};
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    // The first visible top-level window that has a caption: tooltips and
    // other helpers of the dialog do not count.
    if (owner == search->processId && ::IsWindowVisible(window) &&
        (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The process's dialog once it is on the screen, painted and idle.
HWND WaitForDialog(const Started& started) {
    const double deadline = Now() + kPatienceMs;
    ::WaitForInputIdle(started.process, kPatienceMs);
    for (;;) {
        Search search{started.id, nullptr};
        ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            // Paints what is still to paint (WM_PAINT is sent, not posted),
            // then waits until the dialog's thread answers again.
            ::UpdateWindow(search.found);
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &ignored);
            return search.found;
        }
        if (::WaitForSingleObject(started.process, 0) == WAIT_OBJECT_0)
            Fail("the program ended without showing a window");
        if (Now() > deadline)
            Fail("no window within the time allowed");
        ::Sleep(1);
    }
}

void Close(const Started& started, HWND window) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(started.process, kPatienceMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(started.process, 1);
        ::WaitForSingleObject(started.process, kPatienceMs);
    }
    ::CloseHandle(started.process);
}

// Lets what the last measurement started finish before the next one: a
// cmd and the game, or the end of a program, whose process is signalled
// while Wine is still taking it down; a start overlapping that is some 35 ms
// slower, at random.
void Settle() {
    ::Sleep(300);
}

struct Program {
    std::wstring label;
    std::wstring exe;
    std::wstring folder;
    std::wstring temp;
};

// Sets an environment variable of the driver, which started programs
// inherit, for as long as this object lives.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t old[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableW(name, old, MAX_PATH);
        had_ = length > 0 && length < MAX_PATH;
        old_ = had_ ? std::wstring(old, length) : std::wstring();
        if (!value.empty())
            ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* name_;
    bool had_;
    std::wstring old_;
};

Started StartProgram(const Program& program) {
    // GetTempPathW looks at TMP first, then TEMP.
    ScopedVariable tmp(L"TMP", program.temp);
    ScopedVariable temp(L"TEMP", program.temp);
    return Start(program.exe, program.folder);
}

int Startup(int rounds, int warmup, const std::vector<Program>& programs) {
    // A display without a user has its pointer in the middle of the screen,
    // where the dialogs open: each program would then also answer a mouse
    // move over whatever control lies there.
    ::SetCursorPos(0, 0);
    std::set<std::wstring> counted;
    for (int round = 0; round < warmup + rounds; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const Program& program =
                programs[(i + static_cast<std::size_t>(round)) % programs.size()];
            const double start = Now();
            const Started started = StartProgram(program);
            HWND dialog = WaitForDialog(started);
            const double elapsed = Now() - start;
            if (round >= warmup)
                Sample(program.label, elapsed);
            if (counted.insert(program.label).second) {
                HWND list = ::GetDlgItem(dialog, kMapListId);
                const LRESULT count = list ? ::SendMessageW(list, LB_GETCOUNT, 0, 0) : -1;
                std::printf("count %s %ld\n", Utf8(program.label).c_str(),
                            static_cast<long>(count));
            }
            Close(started, dialog);
            Settle();
        }
    }
    return 0;
}

LONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Waits until the log has grown past `before`; answers the time it did.
double WaitForGrowth(const std::wstring& log, LONGLONG before, HANDLE change) {
    const double deadline = Now() + kPatienceMs;
    for (;;) {
        if (FileSize(log) > before)
            return Now();
        if (Now() > deadline)
            Fail("the game was not started within the time allowed");
        // Woken by a change in the game folder; the short timeout covers
        // changes the notification misses.
        if (change != INVALID_HANDLE_VALUE && ::WaitForSingleObject(change, 2) == WAIT_OBJECT_0)
            ::FindNextChangeNotification(change);
    }
}

int Launch(int rounds, int warmup, const std::wstring& kolvek, const std::wstring& log) {
    const std::wstring programFolder = FolderOf(kolvek);
    const std::wstring script = programFolder + L"\\RunA2.bat";
    HANDLE change = ::FindFirstChangeNotificationW(
        FolderOf(log).c_str(), FALSE,
        FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);

    const Started started = Start(kolvek, programFolder);
    HWND dialog = WaitForDialog(started);
    HWND list = ::GetDlgItem(dialog, kMapListId);
    HWND ok = ::GetDlgItem(dialog, IDOK);
    if (list == nullptr || ok == nullptr)
        Fail("the dialog has no map list or no OK button");
    if (::SendMessageW(list, LB_GETCOUNT, 0, 0) <= 0)
        Fail("the map list is empty");
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);

    wchar_t comspec[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"COMSPEC", comspec, MAX_PATH) == 0) {
        ::GetSystemDirectoryW(comspec, MAX_PATH);
        ::lstrcatW(comspec, L"\\cmd.exe");
    }

    for (int round = 0; round < warmup + rounds; ++round) {
        // Through the dialog: OK pressed, script written and started.
        LONGLONG before = FileSize(log);
        double start = Now();
        ::PostMessageW(ok, BM_CLICK, 0, 0);
        double done = WaitForGrowth(log, before, change);
        if (round >= warmup)
            Sample(L"kolvek", done - start);
        Settle();

        // The same script, straight through cmd, started as the dialog starts it.
        if (::GetFileAttributesW(script.c_str()) == INVALID_FILE_ATTRIBUTES)
            Fail("KOLVEK.EXE wrote no RunA2.bat");
        std::wstring line = L"cmd.exe /c \"\"" + script + L"\"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINIMIZED;
        PROCESS_INFORMATION info{};
        before = FileSize(log);
        start = Now();
        if (!::CreateProcessW(comspec, &line[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                              nullptr, nullptr, &startup, &info))
            Fail("cannot start cmd: error " + std::to_string(::GetLastError()));
        done = WaitForGrowth(log, before, change);
        if (round >= warmup)
            Sample(L"cmd", done - start);
        ::WaitForSingleObject(info.hProcess, kPatienceMs);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
        Settle();
    }
    if (change != INVALID_HANDLE_VALUE)
        ::FindCloseChangeNotification(change);
    Close(started, dialog);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: kolvek_bench_driver startup ROUNDS WARMUP LABEL=EXE[|FOLDER[|TEMP]]...\n"
                 "       kolvek_bench_driver launch ROUNDS WARMUP KOLVEK_EXE GAME_LOG\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4)
        return Usage();
    const std::wstring command = argv[1];
    const int rounds = _wtoi(argv[2]);
    const int warmup = _wtoi(argv[3]);
    if (rounds <= 0 || warmup < 0)
        return Usage();
    if (command == L"startup") {
        std::vector<Program> programs;
        for (int i = 4; i < argc; ++i) {
            const std::wstring argument = argv[i];
            const std::size_t equals = argument.find(L'=');
            if (equals == std::wstring::npos)
                return Usage();
            Program program;
            program.label = argument.substr(0, equals);
            const std::wstring rest = argument.substr(equals + 1);
            const std::size_t bar = rest.find(L'|');
            const std::size_t bar2 = bar == std::wstring::npos ? bar : rest.find(L'|', bar + 1);
            program.exe = rest.substr(0, bar);
            if (bar != std::wstring::npos)
                program.folder =
                    rest.substr(bar + 1, bar2 == std::wstring::npos ? bar2 : bar2 - bar - 1);
            if (program.folder.empty())
                program.folder = FolderOf(program.exe);
            if (bar2 != std::wstring::npos)
                program.temp = rest.substr(bar2 + 1);
            programs.push_back(program);
        }
        if (programs.empty())
            return Usage();
        return Startup(rounds, warmup, programs);
    }
    if (command == L"launch" && argc == 6)
        return Launch(rounds, warmup, argv[4], argv[5]);
    return Usage();
}

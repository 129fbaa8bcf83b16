#pragma once
// What the end-to-end tests share: a throwaway installation (program folder
// with KOLVEK.EXE, game folder with the stand-in game and a few maps), the
// game's registry value, and the running program, driven from outside with
// the window messages that a user's mouse and keyboard produce.
//
// The driver deliberately knows nothing of the program's code: it sees only
// windows, files and the registry, as a user (or an installer) would.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Control IDs of the launcher dialog.
constexpr int kOk = IDOK;
constexpr int kCancel = IDCANCEL;
constexpr int kArmadapath = 1001;
constexpr int kMapList = 1002;
constexpr int kNameBox = 1003;
constexpr int kFrame = 1004;
constexpr int kOptNew = 1005;
constexpr int kOptEdit = 1006;
constexpr int kPicture = 1009;
constexpr int kLabel = 1010;

// The text control of a standard message box.
constexpr int kMessageBoxText = 0xFFFF;

// How long the program gets for anything it is expected to do.
constexpr DWORD kPatience = 15000;

// --- Text and files -----------------------------------------------------------

std::wstring FromUtf8(const std::string& text);
std::string ToUtf8(const std::wstring& text);
// The bytes of `text` in a Windows code page (CP_ACP, CP_OEMCP, ...).
std::string Encode(const std::wstring& text, UINT codePage);

// Copies KOLVEK.EXE or armada2.exe, as built, to `target`.
void CopyPayload(const std::wstring& name, const std::wstring& target);
void MakeFolders(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The file's bytes; an empty string (and a test failure) when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool IsFile(const std::wstring& path);
bool IsFolder(const std::wstring& path);
// Removes a folder with everything in it, read-only files too.
void RemoveTree(const std::wstring& path);

// Calls `condition` every few milliseconds until it holds or `timeoutMs` has
// passed; answers its last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatience);

// --- The installation ------------------------------------------------------------

// One start of the stand-in game, as its log recorded it.
struct GameStart {
    std::wstring commandLine;
    std::wstring folder;

    // The command line without the program's own name.
    std::wstring Arguments() const;
    // The program's name as the command line gives it, without quotes.
    std::wstring ProgramName() const;
};

// A fresh folder below C:\kolvek_e2e\ holding a program folder with
// KOLVEK.EXE and a game folder with the stand-in armada2.exe and an empty
// bzn\ subfolder. Removed with everything in it at the end.
class Installation {
public:
    // Both names are paths relative to the installation's own folder and may
    // hold blanks, umlauts and backslashes.
    explicit Installation(const std::wstring& programSubfolder = L"KOLVEK",
                          const std::wstring& gameSubfolder = L"Armada2");
    // The same with a game folder whose path, without its closing backslash,
    // is exactly `gameFolderLength` characters long.
    Installation(const std::wstring& programSubfolder, std::size_t gameFolderLength);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    // Without a trailing backslash, as the program reports its own folder.
    const std::wstring& ProgramFolder() const { return programFolder_; }
    // With the trailing backslash, as kolvar.ini stores it.
    const std::wstring& GameFolder() const { return gameFolder_; }
    std::wstring ProgramFile(const std::wstring& name) const;
    std::wstring GameFile(const std::wstring& name) const;
    std::wstring MapFile(const std::wstring& name) const;
    std::wstring KolvekExe() const { return ProgramFile(L"KOLVEK.EXE"); }
    // The installation's own folder, which holds the other two.
    const std::wstring& Root() const { return root_; }
    // The temporary folder (TMP and TEMP) that Program gives KOLVEK.EXE.
    std::wstring TempFolder() const { return root_ + L"\\Temp"; }

    // Puts a small map file (or any file) into the map folder.
    void AddMap(const std::wstring& name);
    // kolvar.ini with exactly these bytes.
    void WriteSettings(const std::string& bytes);
    // kolvar.ini as the program itself writes it, pointing at GameFolder().
    void WriteSettingsForGameFolder();

    // The bytes kolvar.ini and RunA2.bat must hold.
    std::string SettingsBytes(const std::wstring& gameFolder) const;
    std::string ScriptBytes(const std::wstring& gameLine) const;
    // The same with the game folder as line 2 gives it (a short name, say),
    // with its closing backslash.
    static std::string ScriptBytesFor(const std::wstring& folder, const std::wstring& gameLine);

    // Every start of the stand-in game so far, oldest first.
    std::vector<GameStart> GameStarts() const;
    // Waits until the game has been started `count` times; answers the starts.
    std::vector<GameStart> WaitForGameStarts(std::size_t count, DWORD timeoutMs = kPatience) const;

private:
    void Make(const std::wstring& programSubfolder, const std::wstring& gameSubfolder);

    std::wstring root_;
    std::wstring programFolder_;
    std::wstring gameFolder_;
};

// The stand-in game was started as "armada2" in the installation's game
// folder (told apart from others by its long name, since the script may
// enter it by its short one) with exactly these arguments.
void ExpectGameStart(const Installation& installation, const GameStart& start,
                     const std::wstring& arguments);
// The long form of the existing `path` ("C:\ARMA~1" gives "C:\Armada II").
std::wstring LongPath(const std::wstring& path);

// --- The game's registry value ----------------------------------------------------

// The game's key below HKEY_LOCAL_MACHINE, and the view of the registry that
// KOLVEK.EXE reads it in: the view of its own bitness, the 32-bit one for the
// program that ships, the 64-bit one for a 64-bit build of the same sources.
constexpr wchar_t kGameKey[] = L"SOFTWARE\\Activision\\Star Trek Armada II\\v1.0";
constexpr REGSAM kGameKeyView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

// HKLM\SOFTWARE\Activision\Star Trek Armada II\v1.0, in the view that
// KOLVEK.EXE reads. Sets INSTALLPATH for the test's lifetime, or makes sure
// there is none; afterwards the value and every key made for it are gone
// again and a value found before is back.
class InstallPathValue {
public:
    // The key with INSTALLPATH holding `installPath` as a plain string.
    static InstallPathValue Set(const std::wstring& installPath);
    // The key without INSTALLPATH.
    static InstallPathValue Absent();
    ~InstallPathValue();
    InstallPathValue(InstallPathValue&& other) noexcept;
    InstallPathValue& operator=(InstallPathValue&&) = delete;
    InstallPathValue(const InstallPathValue&) = delete;
    InstallPathValue& operator=(const InstallPathValue&) = delete;

private:
    InstallPathValue() = default;
    // Opens the key, making what is missing of its path, and keeps the
    // value's old contents; nullptr (and a failure) when that fails.
    HKEY OpenKeySavingValue();
    void Restore();

    bool active_ = false;
    // The keys of the path that did not exist before, outermost first.
    std::vector<std::wstring> createdKeys_;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::vector<BYTE> oldData_;
};

// True when the game's key exists at all.
bool GameKeyExists();

// --- Message boxes ------------------------------------------------------------------

enum class BoxIcon { None, Critical, Exclamation, Other };

struct MessageBoxView {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;
    bool okButton = false;
    bool cancelButton = false;
    BoxIcon icon = BoxIcon::None;
};

// --- The running program -------------------------------------------------------------

// Environment variables to give KOLVEK.EXE instead of the driver's own.
using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

class Program {
public:
    // Starts KOLVEK.EXE from the installation's program folder; the current
    // folder is the installation's root, so the program has to find its own
    // folder itself. It gets the driver's environment with TMP and TEMP
    // pointing at the installation's temporary folder, and `environment`.
    explicit Program(const Installation& installation, const Environment& environment = {});
    // Ends the program when it is still running.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Waits for the launcher dialog to show; nullptr (and a failure) when it
    // does not.
    HWND WaitForDialog(DWORD timeoutMs = kPatience);
    HWND Dialog() const { return dialog_; }
    // True when the launcher dialog is on the screen now.
    bool DialogShown() const;
    HWND Item(int id) const;

    // Waits for a visible message box of the program and reads it.
    MessageBoxView WaitForMessageBox(DWORD timeoutMs = kPatience);
    // True when the program has a message box, shown or about to be shown.
    bool HasMessageBox() const;
    // Presses a button of the box (IDOK, IDCANCEL) and waits until it is gone.
    void Answer(const MessageBoxView& box, int button);

    bool WaitForExit(DWORD timeoutMs = kPatience);
    bool Running() const;
    // The exit code of the ended program; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // Waits until no cmd.exe that the program started runs any more (each
    // waits for its game); false when some still run after `timeoutMs`.
    bool WaitForLaunchesToEnd(DWORD timeoutMs = kPatience) const;

    // Waits until the program has handled every message posted to it so far.
    // When a message made it open a message box, that box is there by then.
    void Sync();

    // A mouse click on a button or option button.
    void Click(int id);
    // A mouse click on the map list's entry `name`.
    void ClickMap(const std::wstring& name);
    // Typing into the focused control, one character at a time.
    void Type(const std::wstring& text);
    // A key pressed and released on the focused control (VK_RETURN, VK_TAB, ...).
    void PressKey(UINT virtualKey);
    // A double-click on the picture.
    void DoubleClickPicture();
    // Closing the window from its system menu (the close box, Alt+F4).
    void CloseFromSystemMenu();

    // The window with the keyboard focus in the program's dialog thread.
    HWND Focus() const;
    std::wstring Text(int id) const;
    // The name box's selection as [start, end).
    std::pair<int, int> NameSelection() const;
    bool IsVisible(int id) const;
    // The list box's entries in their order.
    std::vector<std::wstring> MapListEntries() const;
    // Every window of the program that is a message box.
    std::vector<HWND> MessageBoxes() const;

private:
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
    bool syncFlag_ = false;
};

// Text of any window of another process, read with WM_GETTEXT.
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// The window's rectangle relative to the client area of `parent`.
RECT RectIn(HWND window, HWND parent);

} // namespace e2e

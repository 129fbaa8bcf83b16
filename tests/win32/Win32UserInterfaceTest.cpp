// The real message box: a helper thread finds it by its title, reads its
// text and presses a button, as a user would.

#include "platform/win32/Win32UserInterface.h"
#include "Win32TestSupport.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <thread>

namespace kolvek {
namespace {

bool RunningOnWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool HasDisplay() {
    return !RunningOnWine() || ::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0;
}

struct SeenBox {
    std::string text;
    bool hasCancel = false;
};

// Waits for the box titled `title` to show, records what it shows and presses
// `button` in it. A box is shown only once its text is set and its unused
// buttons are gone; before that it may already carry its title.
SeenBox PressWhenShown(const std::wstring& title, int button) {
    SeenBox seen;
    HWND box = nullptr;
    const bool shown = wintest::WaitUntil([&] {
        box = ::FindWindowW(nullptr, title.c_str());
        return box != nullptr && ::IsWindowVisible(box);
    });
    if (!shown)
        return seen;
    wchar_t text[512] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 512); // the prompt's static control
    seen.text = Narrow(text);
    seen.hasCancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return seen;
}

TEST(Win32UserInterface, MessageBoxShowsUtf8TextAndAnswersTheButtonPressed) {
    if (!HasDisplay())
        GTEST_SKIP() << "Wine has no display to show the box on";
    struct Case {
        int style;
        int press;
        int answer;
        bool hasCancel;
    };
    const Case cases[] = {
        {mb::OkCancel, IDCANCEL, mb::ResultCancel, true},
        {mb::OkCancel, IDOK, mb::ResultOk, true},
        {mb::Critical, IDOK, mb::ResultOk, false},
    };
    Win32UserInterface ui;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        const std::string title = "KOLVEK Test " + wintest::UniqueName();
        const std::string prompt = "Die Karte gibt es schon. \xC3\x9C"
                                   "berschreiben? \xC3\xA4\xC3\xB6\xC3\x9F";
        SeenBox seen;
        std::thread user([&] { seen = PressWhenShown(Widen(title), c.press); });
        const int answer = ui.ShowMessage(prompt, c.style, title);
        user.join();
        EXPECT_EQ(c.answer, answer);
        EXPECT_EQ(prompt, seen.text);
        EXPECT_EQ(c.hasCancel, seen.hasCancel);
    }
}

} // namespace
} // namespace kolvek

// The dialog as a window: its size, control positions and font at the
// display's resolution, the keyboard (focus, Tab, Enter, Esc, the name's
// length limit), and the ways to close it.

#include "E2ESupport.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <memory>

namespace e2e {
namespace {

// A rectangle given in twips, relative to the dialog's client area.
struct TwipsRect {
    int id;
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

class KolvekDialog : public ::testing::Test {
protected:
    void SetUp() override {
        installation_.AddMap(L"alpha.bzn");
        installation_.WriteSettingsForGameFolder();
        program_ = std::make_unique<Program>(installation_);
        ASSERT_NE(nullptr, program_->WaitForDialog());
    }

    void ExpectEndsWithoutLaunch() {
        ASSERT_TRUE(program_->WaitForExit());
        EXPECT_EQ(0u, program_->ExitCode());
        EXPECT_FALSE(IsFile(installation_.ProgramFile(L"RunA2.bat")));
    }

    Installation installation_;
    std::unique_ptr<Program> program_;
};

TEST_F(KolvekDialog, ClientAreaControlsAndFontHaveTheirStoredSizeAtTheDisplaysResolution) {
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    HWND dialog = program_->Dialog();

    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_EQ(::MulDiv(8055, dpiX, 1440), client.right);
    EXPECT_EQ(::MulDiv(4545, dpiY, 1440), client.bottom);

    // The option buttons' places are their frame's plus their own.
    const TwipsRect controls[] = {
        {kMapList, "bznList", 240, 360, 3135, 2625},
        {kNameBox, "newWorld", 240, 1440, 3135, 285},
        {kFrame, "Frame1", 270, 3105, 1815, 1215},
        {kOptNew, "optNew", 270 + 240, 3105 + 720, 1335, 255},
        {kOptEdit, "optEdit", 270 + 240, 3105 + 360, 1335, 195},
        {kCancel, "CancelButton", 5265, 3915, 1215, 375},
        {kOk, "OKButton", 6615, 3915, 1215, 375},
        {kPicture, "Image1", 3735, 360, 4095, 3255},
        {kLabel, "LabelnewWorld", 240, 360, 3135, 975},
    };
    for (const TwipsRect& twips : controls) {
        SCOPED_TRACE(twips.name);
        const RECT rect = RectIn(program_->Item(twips.id), dialog);
        EXPECT_EQ(::MulDiv(twips.left, dpiX, 1440), rect.left);
        EXPECT_EQ(::MulDiv(twips.top, dpiY, 1440), rect.top);
        EXPECT_EQ(::MulDiv(twips.left + twips.width, dpiX, 1440), rect.right);
        EXPECT_EQ(::MulDiv(twips.top + twips.height, dpiY, 1440), rect.bottom);
    }
    // The map list's lines are as high as its 8-point font with its leading.
    const int em = ::MulDiv(8, dpiY, 72);
    const LRESULT line = ::SendMessageW(program_->Item(kMapList), LB_GETITEMHEIGHT, 0, 0);
    EXPECT_GE(line, em);
    EXPECT_LE(line, em * 3 / 2);

    EXPECT_EQ(L"Armada II Karteneditor starten", WindowText(dialog));
    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(0, style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    RECT window{};
    ::GetWindowRect(dialog, &window);
    EXPECT_NEAR(::GetSystemMetrics(SM_CXSCREEN) / 2, (window.left + window.right) / 2, 1);
    EXPECT_NEAR(::GetSystemMetrics(SM_CYSCREEN) / 2, (window.top + window.bottom) / 2, 1);
}

TEST_F(KolvekDialog, PathBoxHoldsTheGamesExecutableInCapitalsAndIsNeverShown) {
    EXPECT_EQ(Upper(installation_.GameFolder() + L"armada2.exe"), program_->Text(kArmadapath));
    EXPECT_FALSE(program_->IsVisible(kArmadapath));

    program_->Click(kOptNew);
    EXPECT_FALSE(program_->IsVisible(kArmadapath));
    program_->Click(kOk);
    ASSERT_EQ(1u, installation_.WaitForGameStarts(1).size());
    EXPECT_FALSE(program_->IsVisible(kArmadapath));
    program_->Click(kOptEdit);
    EXPECT_FALSE(program_->IsVisible(kArmadapath));
    EXPECT_NE(program_->Item(kArmadapath), program_->Focus());
}

TEST(KolvekNames, MapListIsInTheOrderOfASortedListBoxOfTheUsersLocale) {
    // As lstrcmpiW and a list box with LBS_SORT put them: umlauts and other
    // accented letters beside their base letters, letter case aside.
    const std::vector<std::wstring> sorted = {L"alpha.bzn",    L"\u00C4rger.bzn", L"Beta.bzn",
                                              L"\u010Cas.bzn", L"ober.bzn",       L"\u00D6de.bzn",
                                              L"Zeta.bzn"};
    Installation installation;
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
        installation.AddMap(*it);
    installation.WriteSettingsForGameFolder();
    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    EXPECT_EQ(sorted, program.MapListEntries());
}

TEST(KolvekNames, PathBoxHoldsCapitalsOfLettersBeyondLatin1) {
    Installation installation(L"KOLVEK", L"\u03C3igma"); // σigma
    // No ANSI code page holds σ: the file is saved in UTF-8, as Notepad does.
    installation.WriteSettings(
        Encode(L"[General]\r\nArmadaPath = " + installation.GameFolder() + L"\r\n", CP_UTF8));
    Program program(installation);
    ASSERT_NE(nullptr, program.WaitForDialog());
    const std::wstring text = program.Text(kArmadapath);
    EXPECT_NE(std::wstring::npos, text.find(L"\\\u03A3IGMA\\ARMADA2.EXE")) << ToUtf8(text);
}

TEST_F(KolvekDialog, PictureShowsItsTooltipWhenTheMouseRestsOnIt) {
    // The tooltip's window is made on the first move over the picture; the
    // move that makes it must already count towards showing it.
    POINT before{};
    ::GetCursorPos(&before);
    RECT picture{};
    ::GetWindowRect(program_->Item(kPicture), &picture);
    ::SetCursorPos((picture.left + picture.right) / 2, (picture.top + picture.bottom) / 2);
    HWND tooltip = nullptr;
    const bool shown = WaitUntil([&] {
        for (HWND window = ::FindWindowExW(nullptr, nullptr, nullptr, nullptr); window != nullptr;
             window = ::FindWindowExW(nullptr, window, nullptr, nullptr)) {
            if (::GetWindow(window, GW_OWNER) == program_->Dialog() && ::IsWindowVisible(window))
                tooltip = window;
        }
        return tooltip != nullptr;
    });
    ::SetCursorPos(before.x, before.y);
    ASSERT_TRUE(shown);
    EXPECT_EQ(L"tooltips_class32", ClassOf(tooltip));
    EXPECT_EQ(L"Star Trek Armada II mit Doppelklick normal starten", WindowText(tooltip));
}

TEST_F(KolvekDialog, FocusStartsOnOkAndTabVisitsOnlyTheShownControlsInTheirOrder) {
    EXPECT_EQ(program_->Item(kOk), program_->Focus());
    EXPECT_EQ(MAKELONG(kOk, DC_HASDEFID), ::SendMessageW(program_->Dialog(), DM_GETDEFID, 0, 0));

    // Frame, label, picture and every hidden control are skipped; of the
    // option buttons only the chosen one is visited.
    const int order[] = {kCancel, kOptEdit, kMapList, kOk, kCancel};
    for (int expected : order) {
        program_->PressKey(VK_TAB);
        EXPECT_EQ(program_->Item(expected), program_->Focus()) << "expected control " << expected;
    }
}

TEST_F(KolvekDialog, ArrowKeysInTheOptionGroupSwitchTheModeAndTabFollowsTheChosenOption) {
    program_->PressKey(VK_TAB);
    program_->PressKey(VK_TAB);
    ASSERT_EQ(program_->Item(kOptEdit), program_->Focus());

    program_->PressKey(VK_DOWN);
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(program_->Item(kOptNew), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(program_->Item(kOptEdit), BM_GETCHECK, 0, 0));
    EXPECT_TRUE(program_->IsVisible(kNameBox));
    EXPECT_FALSE(program_->IsVisible(kMapList));
    // Choosing new-map mode puts the focus into the name box.
    EXPECT_EQ(program_->Item(kNameBox), program_->Focus());

    const int order[] = {kOk, kCancel, kOptNew, kNameBox, kOk};
    for (int expected : order) {
        program_->PressKey(VK_TAB);
        EXPECT_EQ(program_->Item(expected), program_->Focus()) << "expected control " << expected;
    }

    // And back up to the existing maps.
    program_->PressKey(VK_TAB);
    program_->PressKey(VK_TAB);
    ASSERT_EQ(program_->Item(kOptNew), program_->Focus());
    program_->PressKey(VK_UP);
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(program_->Item(kOptEdit), BM_GETCHECK, 0, 0));
    EXPECT_TRUE(program_->IsVisible(kMapList));
    EXPECT_FALSE(program_->IsVisible(kNameBox));
    EXPECT_FALSE(program_->IsVisible(kLabel));
}

TEST_F(KolvekDialog, NameBoxTakesAtMostTwentyTypedCharacters) {
    program_->Click(kOptNew);
    program_->Type(L"abcdefghijklmnopqrstuvwxy");
    EXPECT_EQ(L"abcdefghijklmnopqrst", program_->Text(kNameBox));
}

TEST_F(KolvekDialog, EnterInTheNameBoxPressesOk) {
    program_->Click(kOptNew);
    program_->Type(L"karte");
    program_->PressKey(VK_RETURN);

    const std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(L"/edit karte.bzn", starts[0].Arguments());
    EXPECT_TRUE(program_->Running());
}

TEST_F(KolvekDialog, EnterInTheMapListPressesOk) {
    program_->ClickMap(L"alpha.bzn");
    ASSERT_EQ(program_->Item(kMapList), program_->Focus());
    program_->PressKey(VK_RETURN);

    const std::vector<GameStart> starts = installation_.WaitForGameStarts(1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(L"/edit alpha.bzn", starts[0].Arguments());
}

TEST_F(KolvekDialog, EnterOnTheFocusedCancelButtonPressesCancel) {
    program_->ClickMap(L"alpha.bzn");
    program_->PressKey(VK_TAB);
    ASSERT_EQ(program_->Item(kOk), program_->Focus());
    program_->PressKey(VK_TAB);
    ASSERT_EQ(program_->Item(kCancel), program_->Focus());
    program_->PressKey(VK_RETURN);
    ExpectEndsWithoutLaunch();
}

TEST_F(KolvekDialog, EscInTheMapListEndsTheProgram) {
    program_->ClickMap(L"alpha.bzn");
    program_->PressKey(VK_ESCAPE);
    ExpectEndsWithoutLaunch();
}

TEST_F(KolvekDialog, EscInTheNameBoxEndsTheProgram) {
    program_->Click(kOptNew);
    program_->PressKey(VK_ESCAPE);
    ExpectEndsWithoutLaunch();
}

TEST_F(KolvekDialog, CancelButtonEndsTheProgram) {
    program_->ClickMap(L"alpha.bzn");
    program_->Click(kCancel);
    ExpectEndsWithoutLaunch();
}

TEST_F(KolvekDialog, CloseBoxEndsTheProgram) {
    program_->CloseFromSystemMenu();
    ExpectEndsWithoutLaunch();
}

TEST_F(KolvekDialog, CloseMessageEndsTheProgram) {
    ASSERT_TRUE(::PostMessageW(program_->Dialog(), WM_CLOSE, 0, 0));
    ExpectEndsWithoutLaunch();
}

} // namespace
} // namespace e2e

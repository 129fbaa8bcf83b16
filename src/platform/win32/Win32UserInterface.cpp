#include "platform/win32/Win32UserInterface.h"

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Text.h"

namespace kolvek {

int Win32UserInterface::ShowMessage(const std::string& prompt, int style,
                                    const std::string& title) {
    return ::MessageBoxW(::GetActiveWindow(), Widen(prompt).c_str(), Widen(title).c_str(),
                         static_cast<UINT>(style));
}

void Win32UserInterface::ShowFixedMessage(const char* prompt, int style,
                                          const char* title) noexcept {
    wchar_t widePrompt[256] = L"";
    wchar_t wideTitle[64] = L"";
    ::MultiByteToWideChar(CP_UTF8, 0, prompt, -1, widePrompt, 256);
    ::MultiByteToWideChar(CP_UTF8, 0, title, -1, wideTitle, 64);
    widePrompt[255] = L'\0'; // cut off, should a text ever be too long
    wideTitle[63] = L'\0';
    ::MessageBoxW(::GetActiveWindow(), widePrompt, wideTitle, static_cast<UINT>(style));
}

void Win32UserInterface::Beep() {
    ::MessageBeep(MB_OK);
}

void Win32UserInterface::SetDefaultPointer() {
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

} // namespace kolvek

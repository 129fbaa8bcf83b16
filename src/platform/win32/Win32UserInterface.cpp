#include "platform/win32/Win32UserInterface.h"

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Text.h"

namespace kolvek {

int Win32UserInterface::ShowMessage(const std::string& prompt, int style,
                                    const std::string& title) {
    return ::MessageBoxW(::GetActiveWindow(), Widen(prompt).c_str(), Widen(title).c_str(),
                         static_cast<UINT>(style));
}

void Win32UserInterface::Beep() {
    ::MessageBeep(MB_OK);
}

void Win32UserInterface::SetDefaultPointer() {
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

} // namespace kolvek

#pragma once
// Message boxes, the beep and the mouse pointer through user32.

#include "platform/UserInterface.h"

namespace kolvek {

class Win32UserInterface : public UserInterface {
public:
    // Owned by this thread's active window, when there is one, so that the
    // dialog stays disabled while the box is open.
    int ShowMessage(const std::string& prompt, int style, const std::string& title) override;
    // Through a buffer on the stack.
    void ShowFixedMessage(const char* prompt, int style, const char* title) noexcept override;
    void Beep() override;
    void SetDefaultPointer() override;
};

} // namespace kolvek

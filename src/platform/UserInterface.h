#pragma once
// Message boxes, the beep and the mouse pointer.

#include <string>

namespace kolvek {

// Message box styles and results as the program uses them.
namespace mb {
constexpr int OkCancel = 1;
constexpr int Critical = 16;
constexpr int Exclamation = 48;
constexpr int ResultOk = 1;
constexpr int ResultCancel = 2;
} // namespace mb

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // Modal; returns the button pressed (1 OK, 2 Cancel).
    virtual int ShowMessage(const std::string& prompt, int style, const std::string& title) = 0;
    // The same for a fixed UTF-8 text of at most 255 characters, without
    // allocating anything, so that it works when memory has run out.
    virtual void ShowFixedMessage(const char* prompt, int style, const char* title) noexcept = 0;
    virtual void Beep() = 0;
    virtual void SetDefaultPointer() = 0;
};

} // namespace kolvek

#pragma once
// The running program: its folder, starting commands, ending it.

#include <string>

namespace kolvek {

namespace window_style {
constexpr int MinimizedFocus = 2;
}

class Process {
public:
    virtual ~Process() = default;
    // The folder of the program's executable, without a trailing backslash
    // except at a drive root ("E:\").
    virtual std::string ProgramFolder() = 0;
    // Starts `commandLine` with the given window style and does not wait.
    // Throws RuntimeError when it cannot be started.
    virtual void StartCommand(const std::string& commandLine, int windowStyle) = 0;
    // Ends the program at once.
    [[noreturn]] virtual void EndProgram() = 0;
};

} // namespace kolvek

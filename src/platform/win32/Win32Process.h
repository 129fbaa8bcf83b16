#pragma once
// The running program through kernel32: its folder, starting commands and
// ending it.

#include "platform/Process.h"

namespace kolvek {

class Win32Process : public Process {
public:
    // From GetModuleFileNameW: the executable's folder, "E:\" at a drive root.
    std::string ProgramFolder() override;
    // `commandLine` is the full path of one program or batch file; blanks in it
    // are part of the name (it is quoted here, so "C:\Program Files\x.bat"
    // never runs C:\Program.exe). A batch file runs through the command
    // interpreter (%COMSPEC% /c). The new process gets its own console, shown
    // with `windowStyle`; its handles are closed at once and nothing waits.
    // Throws RuntimeError when CreateProcessW fails.
    void StartCommand(const std::string& commandLine, int windowStyle) override;
    [[noreturn]] void EndProgram() override;
};

} // namespace kolvek

#pragma once
// The running program through kernel32: its folder, the system's folders,
// starting programs and ending it.

#include "platform/Process.h"

namespace kolvek {

class Win32Process : public Process {
public:
    // From GetModuleFileNameW: the executable's folder, "E:\" at a drive root.
    std::string ProgramFolder() override;
    // From GetSystemDirectoryW, never from the environment (%COMSPEC% may
    // point anywhere).
    std::string SystemFolder() override;
    // From GetTempPathW (TMP, TEMP, the profile or the Windows folder).
    std::string TemporaryFolder() override;
    // Only while this process's token has virtualization on (never under
    // Wine, nor elevated): the folders that UAC virtualizes, Program Files
    // (both of a 64-bit system), ProgramData and the Windows folder, from the
    // environment and GetSystemWindowsDirectoryW.
    std::vector<std::string> VirtualizedFolders() override;
    // CreateProcessW with `application` as the module, so nothing is looked
    // up on the path. The new process gets its own console, shown with
    // `windowStyle`, and this program's environment without
    // NoDefaultCurrentDirectoryInExePath, so that a command processor finds
    // programs in its current folder first. The process is made suspended;
    // Run resumes it. Throws RuntimeError when CreateProcessW fails.
    std::unique_ptr<StartedProcess> Start(const std::string& application,
                                          const std::string& commandLine,
                                          const std::string& workingFolder,
                                          int windowStyle) override;
    [[noreturn]] void EndProgram() override;
};

// The full path of the file `name` in the system folder, as
// GetSystemDirectoryW gives that. Throws RuntimeError.
std::wstring SystemFilePath(const std::string& name);

} // namespace kolvek

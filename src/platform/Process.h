#pragma once
// The running program: its folder, the system's folders, starting programs
// and learning when they have ended, ending the program itself.

#include <memory>
#include <string>
#include <vector>

namespace kolvek {

namespace window_style {
constexpr int MinimizedFocus = 2;
}

// A program that was started, held before its first instruction until Run
// lets it go. Destroying this object lets go of the process (its handle): a
// process that runs, runs on; one that was never run is ended unrun.
class StartedProcess {
public:
    virtual ~StartedProcess() = default;
    // Lets the held process run. Throws RuntimeError when it cannot.
    virtual void Run() = 0;
    // True once the process has ended.
    virtual bool HasEnded() = 0;
};

class Process {
public:
    virtual ~Process() = default;
    // The folder of the program's executable, without a trailing backslash
    // except at a drive root ("E:\").
    virtual std::string ProgramFolder() = 0;
    // The system's own folder, which holds its cmd.exe; no trailing backslash.
    virtual std::string SystemFolder() = 0;
    // The user's folder for temporary files, without a trailing backslash
    // except at a drive root.
    virtual std::string TemporaryFolder() = 0;
    // The folders whose writes the system redirects into the user's own
    // store while it virtualizes this program, as it runs this one and the
    // game: there, programs that are not virtualized (cmd.exe) see another
    // folder than this program does. Empty when it does not virtualize it.
    virtual std::vector<std::string> VirtualizedFolders() = 0;
    // Starts the executable `application` (a full path) with `commandLine`
    // exactly as given, in `workingFolder`, its window shown with
    // `windowStyle`, held until Run; never waits for it. Throws RuntimeError
    // when it cannot be started.
    virtual std::unique_ptr<StartedProcess> Start(const std::string& application,
                                                  const std::string& commandLine,
                                                  const std::string& workingFolder,
                                                  int windowStyle) = 0;
    // Ends the program at once.
    [[noreturn]] virtual void EndProgram() = 0;
};

} // namespace kolvek

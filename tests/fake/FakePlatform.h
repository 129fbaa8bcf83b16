#pragma once
// The whole seam in memory, for the native tests: a file system, registry,
// shell, message boxes and process that record what the program does, and
// text rules of its own.

#include "fake/FakeFileSystem.h"
#include "fake/FakeRegistry.h"
#include "fake/FakeShell.h"
#include "fake/FakeTextCodec.h"
#include "fake/FakeTextRules.h"
#include "platform/Platform.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kolvek::fake {

// Thrown where the real program would end; not a RuntimeError, so no error
// trap of the program catches it.
struct ProgramEnded {};

struct MessageBoxCall {
    std::string prompt;
    int style = 0;
    std::string title;
};

class FakeUserInterface : public UserInterface {
public:
    int ShowMessage(const std::string& prompt, int style, const std::string& title) override;
    void ShowFixedMessage(const char* prompt, int style, const char* title) noexcept override;
    void Beep() override { events.push_back("beep"); }
    void SetDefaultPointer() override { events.push_back("pointer"); }

    std::vector<MessageBoxCall> boxes;
    // "beep", "pointer" and "box:<title>", in the order they happened.
    std::vector<std::string> events;
    // Buttons to press, box by box; OK when empty.
    std::deque<int> answers;
    // How many of the next ShowMessage calls fail for lack of memory.
    int messageFailures = 0;
    int Beeps() const;
};

// Windows-like: a program starts only when its executable exists and its
// working folder is a folder; it is held until run, and each run can be made
// to end by the test.
class FakeProcess : public Process {
public:
    explicit FakeProcess(FakeFileSystem& files) : files_(files) {}
    std::string ProgramFolder() override { return programFolder; }
    std::string SystemFolder() override { return systemFolder; }
    std::string TemporaryFolder() override { return temporaryFolder; }
    std::vector<std::string> VirtualizedFolders() override { return virtualizedFolders; }
    std::unique_ptr<StartedProcess> Start(const std::string& application,
                                          const std::string& commandLine,
                                          const std::string& workingFolder,
                                          int windowStyle) override;
    [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }

    std::string programFolder = "C:\\KOLVEK";
    std::string systemFolder = "C:\\Windows\\System32";
    std::string temporaryFolder = "C:\\Users\\Spieler\\AppData\\Local\\Temp";
    std::vector<std::string> virtualizedFolders;
    struct Started {
        std::string application;
        std::string commandLine;
        std::string workingFolder;
        int windowStyle = 0;
        std::shared_ptr<bool> ended;
        // The started process ends.
        void End() const { *ended = true; }
    };
    // The processes that were run, in order.
    std::vector<Started> started;
    // Held processes that were ended without ever running.
    int endedUnrun = 0;
    // A run-time error number to throw, 0 for none; 7 throws std::bad_alloc.
    std::int32_t startFailure = 0;
    std::int32_t runFailure = 0; // the same for letting a held process run
    // Called as a held process is let run, before it counts as started.
    std::function<void(const Started&)> onRun;

private:
    FakeFileSystem& files_;
};

struct FakePlatform {
    FakePlatform();

    FakeTextCodec codec;
    FakeTextRules text;
    FakeFileSystem files;
    FakeRegistry registry;
    FakeShell shell;
    FakeUserInterface ui;
    FakeProcess process;
    Platform platform;
};

} // namespace kolvek::fake

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
    void Beep() override { events.push_back("beep"); }
    void SetDefaultPointer() override { events.push_back("pointer"); }

    std::vector<MessageBoxCall> boxes;
    // "beep", "pointer" and "box:<title>", in the order they happened.
    std::vector<std::string> events;
    // Buttons to press, box by box; OK when empty.
    std::deque<int> answers;
    int Beeps() const;
};

class FakeProcess : public Process {
public:
    std::string ProgramFolder() override { return programFolder; }
    void StartCommand(const std::string& commandLine, int windowStyle) override;
    [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }

    std::string programFolder = "C:\\KOLVEK";
    struct Started {
        std::string commandLine;
        int windowStyle = 0;
    };
    std::vector<Started> started;
    std::int32_t startFailure = 0; // a run-time error number to throw, 0 for none
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

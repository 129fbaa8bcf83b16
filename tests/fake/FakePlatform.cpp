#include "fake/FakePlatform.h"

#include <algorithm>

namespace kolvek::fake {

int FakeUserInterface::ShowMessage(const std::string& prompt, int style, const std::string& title) {
    boxes.push_back({prompt, style, title});
    events.push_back("box:" + title);
    if (answers.empty())
        return mb::ResultOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

int FakeUserInterface::Beeps() const {
    return static_cast<int>(std::count(events.begin(), events.end(), "beep"));
}

void FakeProcess::StartCommand(const std::string& commandLine, int windowStyle) {
    if (startFailure != 0)
        throw RuntimeError(startFailure);
    started.push_back({commandLine, windowStyle});
}

FakePlatform::FakePlatform()
    : files(codec), platform{files, registry, shell, ui, process, codec, text} {
    files.AddFolder(process.programFolder);
}

} // namespace kolvek::fake

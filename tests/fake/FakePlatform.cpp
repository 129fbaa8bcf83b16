#include "fake/FakePlatform.h"

#include <algorithm>
#include <new>

namespace kolvek::fake {

int FakeUserInterface::ShowMessage(const std::string& prompt, int style, const std::string& title) {
    if (messageFailures > 0) {
        --messageFailures;
        throw std::bad_alloc();
    }
    boxes.push_back({prompt, style, title});
    events.push_back("box:" + title);
    if (answers.empty())
        return mb::ResultOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeUserInterface::ShowFixedMessage(const char* prompt, int style,
                                         const char* title) noexcept {
    boxes.push_back({prompt, style, title});
    events.push_back(std::string("box:") + title);
}

int FakeUserInterface::Beeps() const {
    return static_cast<int>(std::count(events.begin(), events.end(), "beep"));
}

namespace {

class FakeStartedProcess : public StartedProcess {
public:
    FakeStartedProcess(FakeProcess& process, FakeProcess::Started started)
        : process_(process), started_(std::move(started)) {}
    ~FakeStartedProcess() override {
        if (!ran_)
            ++process_.endedUnrun;
    }
    void Run() override {
        if (process_.runFailure != 0)
            throw RuntimeError(process_.runFailure);
        if (process_.onRun)
            process_.onRun(started_);
        process_.started.push_back(started_);
        ran_ = true;
    }
    bool HasEnded() override { return *started_.ended; }

private:
    FakeProcess& process_;
    FakeProcess::Started started_;
    bool ran_ = false;
};

} // namespace

std::unique_ptr<StartedProcess> FakeProcess::Start(const std::string& application,
                                                   const std::string& commandLine,
                                                   const std::string& workingFolder,
                                                   int windowStyle) {
    if (startFailure == err::OutOfMemory)
        throw std::bad_alloc();
    if (startFailure != 0)
        throw RuntimeError(startFailure);
    if (!files_.Exists(application) || files_.FolderExists(application))
        throw RuntimeError(err::FileNotFound);
    if (!files_.FolderExists(workingFolder))
        throw RuntimeError(err::PathNotFound);
    return std::make_unique<FakeStartedProcess>(*this, Started{application, commandLine,
                                                               workingFolder, windowStyle,
                                                               std::make_shared<bool>(false)});
}

FakePlatform::FakePlatform()
    : files(codec), shell(files),
      process(files), platform{files, registry, shell, ui, process, codec, text} {
    files.AddFolder(process.programFolder);
    files.AddFolder(process.temporaryFolder);
    files.AddFile(process.systemFolder + "\\cmd.exe", "MZ");
}

} // namespace kolvek::fake

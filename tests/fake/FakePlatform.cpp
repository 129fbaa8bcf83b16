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

namespace {

class FakeStartedProcess : public StartedProcess {
public:
    explicit FakeStartedProcess(std::shared_ptr<bool> ended) : ended_(std::move(ended)) {}
    bool HasEnded() override { return *ended_; }

private:
    std::shared_ptr<bool> ended_;
};

} // namespace

bool FakeProcess::InVirtualizedFolder(const std::string& path) {
    return std::any_of(virtualizedFolders.begin(), virtualizedFolders.end(),
                       [&](const std::string& folder) {
                           return path == folder || path.rfind(folder + "\\", 0) == 0;
                       });
}

std::unique_ptr<StartedProcess> FakeProcess::Start(const std::string& application,
                                                   const std::string& commandLine,
                                                   const std::string& workingFolder,
                                                   int windowStyle) {
    if (startFailure != 0)
        throw RuntimeError(startFailure);
    if (!files_.Exists(application) || files_.FolderExists(application))
        throw RuntimeError(err::FileNotFound);
    if (!files_.FolderExists(workingFolder))
        throw RuntimeError(err::PathNotFound);
    started.push_back(
        {application, commandLine, workingFolder, windowStyle, std::make_shared<bool>(false)});
    return std::make_unique<FakeStartedProcess>(started.back().ended);
}

FakePlatform::FakePlatform()
    : files(codec), process(files), platform{files, registry, shell, ui, process, codec, text} {
    files.AddFolder(process.programFolder);
    files.AddFolder(process.temporaryFolder);
    files.AddFile(process.systemFolder + "\\cmd.exe", "MZ");
}

} // namespace kolvek::fake

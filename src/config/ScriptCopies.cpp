#include "config/ScriptCopies.h"

#include "config/ScriptNames.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <new>

namespace kolvek {

namespace {

const char kCopyPrefix[] = "RunA2-";
const char kCopyExtension[] = ".bat";
const char kCopyFolder[] = "KOLVEK";

// Where copies are made: a folder of their own in the temporary folder, so
// that finding the copies of earlier runs never reads the whole temporary
// folder; and the program folder (beside RunA2.bat) when that cannot take
// them.
std::vector<std::string> CopyFolders(Platform& platform) {
    return {JoinPath(platform.process.TemporaryFolder(), kCopyFolder),
            platform.process.ProgramFolder()};
}

// True when the system redirects writes into `path` for this program.
bool InVirtualizedFolder(Platform& platform, const std::string& path) {
    const std::vector<std::string> folders = platform.process.VirtualizedFolders();
    if (folders.empty())
        return false;
    // "C:\PROGRA~2\..." is Program Files too.
    const std::string longPath = platform.files.LongPath(path);
    return std::any_of(folders.begin(), folders.end(), [&](const std::string& folder) {
        return LiesIn(platform.text, longPath, folder);
    });
}

NewTextFile CreateCopy(Platform& platform) {
    const std::vector<std::string> folders = CopyFolders(platform);
    try {
        platform.files.CreateFolder(folders[0]);
        return platform.files.CreateUniqueText(folders[0], kCopyPrefix, kCopyExtension,
                                               CodePage::Oem);
    } catch (const RuntimeError&) {
        // cmd.exe is never virtualized: a copy that the system redirected
        // into this program's store would be one it cannot find.
        if (InVirtualizedFolder(platform, folders[1]))
            throw LaunchRefusal(err::PathFileAccessError,
                                "Im temporären Ordner lässt sich keine Kopie von RunA2.bat "
                                "anlegen, und eine Kopie im Ordner " +
                                    folders[1] +
                                    " kann Windows für KOLVEK umleiten (VirtualStore), so dass "
                                    "cmd.exe sie nicht fände.");
        return platform.files.CreateUniqueText(folders[1], kCopyPrefix, kCopyExtension,
                                               CodePage::Oem);
    }
}

// Another run's copy that its cmd.exe may not have read yet was written
// less than this from the clock. Either way: FAT rounds write times up to
// the next even second, a share's server clock may run ahead, and a fresh
// copy then reads as written a little in the future.
constexpr std::chrono::minutes kYoungestLeftover{1};

// True for a copy written a minute or more from now, before or after, that
// no launch still waits for; false when its time cannot be read.
bool IsLeftOver(Platform& platform, const std::string& path) {
    try {
        const std::chrono::milliseconds age = platform.files.TimeSinceWritten(path);
        return age >= kYoungestLeftover || age <= -kYoungestLeftover;
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace

std::string WriteScriptCopy(Platform& platform, const std::vector<std::string>& lines) {
    NewTextFile copy = CreateCopy(platform);
    try {
        for (const std::string& line : lines)
            copy.output->WriteLine(line);
        copy.output->Close();
    } catch (const RuntimeError&) {
        copy.output.reset();
        try {
            platform.files.RemoveFile(copy.path);
        } catch (const RuntimeError&) {
            // It is an unused copy: a later start removes it.
        }
        throw;
    }
    return copy.path;
}

bool IsScriptCopyName(const std::string& name) {
    const std::size_t prefix = sizeof kCopyPrefix - 1;
    const std::size_t extension = sizeof kCopyExtension - 1;
    if (name.size() <= prefix + extension || name.compare(0, prefix, kCopyPrefix) != 0 ||
        name.compare(name.size() - extension, extension, kCopyExtension) != 0)
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix),
                       name.end() - static_cast<std::ptrdiff_t>(extension), [](char c) {
                           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') ||
                                  (c >= 'a' && c <= 'f') || c == '-';
                       });
}

ScriptCopies::ScriptCopies(Platform& platform) : platform_(platform) {}

ScriptCopies::~ScriptCopies() {
    try {
        RemoveEnded();
    } catch (...) {
        // Lack of memory on the way out: a later start removes them.
    }
}

void ScriptCopies::RemoveLeftovers() {
    try {
        const std::vector<std::string> folders = CopyFolders(platform_);
        try {
            // Made now if missing, so that later starts find it by its exact
            // name: under Wine, looking up a name that is missing reads the
            // whole temporary folder.
            platform_.files.CreateFolder(folders[0]);
        } catch (const RuntimeError&) {
            // No temporary folder: the copies go beside RunA2.bat.
        }
        for (const std::string& folder : folders) {
            try {
                for (const std::string& name : platform_.files.ListFiles(folder)) {
                    const std::string path = JoinPath(folder, name);
                    const bool ours = std::any_of(runs_.begin(), runs_.end(),
                                                  [&](const Run& run) { return run.path == path; });
                    if (IsScriptCopyName(name) && !ours && IsLeftOver(platform_, path))
                        Remove(path);
                }
            } catch (const RuntimeError&) {
                // The folder is missing or cannot be listed: nothing to clean up there.
            }
        }
    } catch (const RuntimeError&) {
    } catch (const std::bad_alloc&) {
    }
}

HeldStart::HeldStart(ScriptCopies& copies, std::string&& path,
                     std::unique_ptr<StartedProcess>&& process) noexcept
    : copies_(&copies), path_(std::move(path)), process_(std::move(process)) {
    ++copies_->heldStarts_;
}

HeldStart::~HeldStart() {
    if (process_ == nullptr)
        return; // it ran, or was moved on
    --copies_->heldStarts_;
    process_.reset(); // ends it unrun
    try {
        copies_->Remove(path_);
    } catch (...) {
        // Lack of memory: a later start removes the copy.
    }
}

void HeldStart::Run() {
    process_->Run();
    copies_->Keep(std::move(path_), std::move(process_));
}

HeldStart ScriptCopies::Start(const std::string& path, int windowStyle) {
    try {
        RemoveEnded();
        // All that needs memory comes before cmd.exe starts: room to keep it
        // and every other held start (see Keep), the held start's path and
        // cmd's command line.
        runs_.reserve(runs_.size() + heldStarts_ + 1);
        std::string heldPath = path;
        const std::string application = JoinPath(platform_.process.SystemFolder(), "cmd.exe");
        // /d: no AutoRun commands from the registry; /e:on /v:off: the
        // syntax the script is escaped for, whatever the registry says.
        const std::string commandLine = "cmd.exe /d /e:on /v:off /c .\\" + NameOf(path);
        const std::string folder = FolderOf(path);
        std::unique_ptr<StartedProcess> process =
            platform_.process.Start(application, commandLine, folder, windowStyle);
        return HeldStart(*this, std::move(heldPath), std::move(process));
    } catch (...) {
        try {
            Remove(path);
        } catch (...) {
            // Lack of memory: a later start removes the copy.
        }
        throw;
    }
}

void ScriptCopies::RemoveEnded() {
    for (auto it = runs_.begin(); it != runs_.end();) {
        if (!it->process->HasEnded()) {
            ++it;
            continue;
        }
        Remove(it->path);
        it = runs_.erase(it);
    }
}

void ScriptCopies::Keep(std::string&& path, std::unique_ptr<StartedProcess>&& process) noexcept {
    --heldStarts_;
    assert(runs_.size() < runs_.capacity()); // no allocation here
    runs_.push_back({std::move(path), std::move(process)});
}

void ScriptCopies::Remove(const std::string& path) {
    try {
        platform_.files.RemoveFile(path);
    } catch (const RuntimeError&) {
        // Gone already, or still held: a later start tries again.
    }
}

} // namespace kolvek

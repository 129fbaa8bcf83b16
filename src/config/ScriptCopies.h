#pragma once
// The copies of RunA2.bat that launches start. cmd.exe reads a batch file
// by byte offset and resumes there after each command, so a script that a
// started cmd.exe still waits in must never change: each launch starts a
// copy of its own, normally in the folder "KOLVEK" of the temporary folder,
// which no later launch touches, and the copy goes once its cmd.exe has ended.

#include "platform/Platform.h"

#include <memory>
#include <string>
#include <vector>

namespace kolvek {

// Writes `lines` into a new copy in the temporary folder's "KOLVEK" (or,
// when that cannot take it, in the program folder), in the console's code
// page, and answers its full path. Traps nothing. A program folder that the
// system virtualizes cannot stand in: that throws 75 with a German reason.
std::string WriteScriptCopy(Platform& platform, const std::vector<std::string>& lines);
// True for the file names that WriteScriptCopy gives its copies.
bool IsScriptCopyName(const std::string& name);

class ScriptCopies;

// A copy's cmd.exe, started but held before it reads the copy's first line.
class HeldStart {
public:
    HeldStart(HeldStart&& other) noexcept = default;
    HeldStart& operator=(HeldStart&&) = delete;
    HeldStart(const HeldStart&) = delete;
    HeldStart& operator=(const HeldStart&) = delete;
    // Unless it ran: ends cmd.exe unrun and removes its copy. Traps every error.
    ~HeldStart();

    // What ScriptCopies::Start answers: `process`, held, on the copy at
    // `path`.
    HeldStart(ScriptCopies& copies, std::string&& path,
              std::unique_ptr<StartedProcess>&& process) noexcept
        : copies_(&copies), path_(std::move(path)), process_(std::move(process)) {}

    // Lets cmd.exe run the copy; from then on the copies keep it. When that
    // fails the error passes on, and the destructor undoes the start.
    void Run();

private:
    ScriptCopies* copies_;
    std::string path_;
    std::unique_ptr<StartedProcess> process_; // null once it runs
};

// The copies started in this run and their command processors.
class ScriptCopies {
public:
    explicit ScriptCopies(Platform& platform);
    // Removes the copies whose command processor has ended; the others stay
    // for a later start to remove.
    ~ScriptCopies();
    ScriptCopies(const ScriptCopies&) = delete;
    ScriptCopies& operator=(const ScriptCopies&) = delete;

    // Removes the copies in the copies' two folders that this run did not
    // start and that were written a minute ago or longer (or at a time
    // ahead of the clock): copies left by earlier runs. A younger one may be
    // another run's launch whose cmd.exe has yet to read it. Traps every
    // error.
    void RemoveLeftovers();
    // Starts the system's cmd.exe on the copy at `path`, in the copy's own
    // folder, with only the copy's file name on its command line (nothing
    // that cmd could expand or split), held until the answer's Run. Removes
    // the copies whose command processor has ended first. When the start
    // fails, for lack of memory too, the copy is removed and the error
    // passes on. One held start at a time.
    [[nodiscard]] HeldStart Start(const std::string& path, int windowStyle);
    // Removes the copies whose command processor has ended. Traps every
    // error: a copy that cannot go now is tried again later.
    void RemoveEnded();

private:
    friend class HeldStart;
    struct Run {
        std::string path;
        std::unique_ptr<StartedProcess> process;
    };
    // Keeps the copy at `path` until its running cmd.exe has ended. Cannot
    // fail: Start has made room for the one held start.
    void Keep(std::string&& path, std::unique_ptr<StartedProcess>&& process) noexcept;
    void Remove(const std::string& path);

    Platform& platform_;
    std::vector<Run> runs_;
};

} // namespace kolvek

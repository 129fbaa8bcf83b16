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

    // Lets cmd.exe run the copy; from then on the copies keep it. When that
    // fails the error passes on, and the destructor undoes the start.
    void Run();

private:
    friend class ScriptCopies;
    // Only ScriptCopies::Start makes one: `process`, held, on the copy at
    // `path`, counted among the copies' held starts.
    HeldStart(ScriptCopies& copies, std::string&& path,
              std::unique_ptr<StartedProcess>&& process) noexcept;

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
    // start and whose write time lies a minute or more from the clock,
    // before or after it: copies left by earlier runs. One closer to the
    // clock, either way, may be another run's launch whose cmd.exe has yet
    // to read it, and so may one whose time cannot be read: they stay.
    // Traps every error.
    void RemoveLeftovers();
    // Starts the system's cmd.exe on the copy at `path`, in the copy's own
    // folder, with only the copy's file name on its command line (nothing
    // that cmd could expand or split), held until the answer's Run. Removes
    // the copies whose command processor has ended first. When the start
    // fails, for lack of memory too, that error passes on; removing the copy
    // then is best effort: whatever the removal meets, lack of memory
    // included, leaves the copy to a later start and never replaces the
    // error. Any number of held starts may be outstanding.
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
    // Keeps the copy at `path` of a held start until its running cmd.exe
    // has ended. Cannot fail: Start has made room for every held start.
    void Keep(std::string&& path, std::unique_ptr<StartedProcess>&& process) noexcept;
    void Remove(const std::string& path);

    Platform& platform_;
    std::vector<Run> runs_;
    // Held starts not yet run or undone: each has room in runs_.
    std::size_t heldStarts_ = 0;
};

} // namespace kolvek

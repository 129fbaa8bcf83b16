#pragma once
// Moves, copies, deletes or renames lists of files through the shell's file
// operation, so that the shell shows its own progress window, confirmation
// prompts and undo support. Names are UTF-8; they reach the shell in the ANSI
// code page.

#include "platform/Shell.h"
#include "platform/TextCodec.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kolvek {

class CmdlSHFileOperation {
public:
    // Starts with the defaults: ConfirmMakeDir, ConfirmOperation and
    // IncludeDirectories on, everything else off, no custom text, no owner
    // window, both name lists empty. `shell` and `codec` must outlive the object.
    CmdlSHFileOperation(Shell& shell, const TextCodec& codec);

    // Deleted files go to the recycle bin; the shell keeps undo information.
    bool AllowUndo() const { return allowUndo_; }
    void AllowUndo(bool bAllowUndo) { allowUndo_ = bAllowUndo; }

    // The shell asks before it creates a missing destination folder.
    bool ConfirmMakeDir() const { return confirmMakeDir_; }
    void ConfirmMakeDir(bool bConfirmMakeDir) { confirmMakeDir_ = bConfirmMakeDir; }

    // The shell asks before it overwrites or deletes.
    bool ConfirmOperation() const { return confirmOperation_; }
    void ConfirmOperation(bool bConfirmOperation) { confirmOperation_ = bConfirmOperation; }

    // When not empty: the title of a simple progress window without file names.
    std::string CustomText() const { return customText_; }
    void CustomText(std::string sCustomText) { customText_ = std::move(sCustomText); }

    // Wildcard source names match folders as well as files.
    bool IncludeDirectories() const { return includeDirectories_; }
    void IncludeDirectories(bool bIncludeDirectories) { includeDirectories_ = bIncludeDirectories; }

    // Owner of the shell's dialogs (a 32-bit window handle; 0 for none).
    std::uint32_t ParentWnd() const { return parentWnd_; }
    void ParentWnd(std::uint32_t hParentWnd) { parentWnd_ = hParentWnd; }

    // A moved or copied item gets a new name when its destination is taken.
    bool RenameOnCollision() const { return renameOnCollision_; }
    void RenameOnCollision(bool bRenameOnCollision) { renameOnCollision_ = bRenameOnCollision; }

    // No progress window.
    bool SilentMode() const { return silentMode_; }
    void SilentMode(bool bSilentMode) { silentMode_ = bSilentMode; }

    // Each operation answers true only when the shell carried it out
    // completely (it returned 0 and aborted nothing). With an empty source
    // list it throws RuntimeError(err::NoSourceFiles) without calling the
    // shell. Nothing is trapped: errors from the seam reach the caller.
    // Settings and name lists are left as they are.
    bool MoveFiles();
    bool CopyFiles();
    bool DeleteFiles();
    bool RenameFiles();

    // Names are kept exactly as given, in order; empty names and duplicates
    // stay.
    void ClearSourceFiles() { sourceFiles_.clear(); }
    void AddSourceFile(const std::string& sFilename) { sourceFiles_.push_back(sFilename); }
    void ClearDestFiles() { destFiles_.clear(); }
    void AddDestFile(const std::string& sFilename) { destFiles_.push_back(sFilename); }

private:
    bool PerformFileOperation(std::uint32_t operation);
    // Each name in the ANSI code page followed by a zero byte, then one more
    // zero byte; a single zero byte for an empty list.
    std::string NameList(const std::vector<std::string>& names) const;

    Shell& shell_;
    const TextCodec& codec_;

    bool allowUndo_;
    bool confirmMakeDir_;
    bool confirmOperation_;
    std::string customText_;
    bool includeDirectories_;
    std::uint32_t parentWnd_;
    bool renameOnCollision_;
    bool silentMode_;

    std::vector<std::string> sourceFiles_;
    std::vector<std::string> destFiles_;
};

} // namespace kolvek

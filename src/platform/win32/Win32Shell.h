#pragma once
// The shell's file operation through SHFileOperationA. shell32.dll is loaded
// on the first operation, not with the program: it brings shlwapi and shcore
// along (under Wine some 5 ms of the start-up), and the launcher's own
// workflow never performs a shell operation.

#include "platform/Shell.h"
#include "platform/win32/Win32Handles.h"

namespace kolvek {

class Win32Shell : public Shell {
public:
    // Hands the request to SHFileOperationA and reports its return value and
    // whether the shell aborted any part of the operation. Never throws; the
    // shell shows its own dialogs, modally, on the calling thread. When
    // shell32.dll or the function cannot be loaded, answers the system's
    // error code (never 0) and no abort.
    ShellFileOpResult FileOperation(const ShellFileOpRequest& request) override;

private:
    // shell32.dll once loaded; freed with the shell object.
    ModuleHandle shell32_;
};

} // namespace kolvek

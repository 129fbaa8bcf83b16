#pragma once
// The shell's file operation through SHFileOperationA, and its delete into
// the Recycle Bin through SHFileOperationW. shell32.dll is loaded from the
// system folder on the first operation, not with the program: it brings
// shlwapi and shcore along (under Wine some 5 ms of the start-up), and only a
// replaced map needs it.

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
    // A name with * or ?, or one that is not a full path, is refused (52)
    // before the shell sees it. A failure of the shell throws the error
    // its code maps to; an aborted operation, or a name that still shows a
    // file, 75. The file's identity (volume serial number and file index),
    // read before and after, tells whether that is another file.
    void RecycleFile(const std::string& path) override;

private:
    // The function `name` of shell32.dll, loading it first; null with the
    // error in GetLastError when it cannot be had.
    FARPROC Shell32Function(const char* name);

    // shell32.dll once loaded; freed with the shell object.
    ModuleHandle shell32_;
};

} // namespace kolvek

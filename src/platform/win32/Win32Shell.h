#pragma once
// The shell's file operation through SHFileOperationA.

#include "platform/Shell.h"

namespace kolvek {

class Win32Shell : public Shell {
public:
    // Hands the request to SHFileOperationA and reports its return value and
    // whether the shell aborted any part of the operation. Never throws; the
    // shell shows its own dialogs, modally, on the calling thread.
    ShellFileOpResult FileOperation(const ShellFileOpRequest& request) override;
};

} // namespace kolvek

#pragma once
// The shell's file operation through SHFileOperationA. shell32.dll is loaded
// on the first operation, not with the program: it brings shlwapi and shcore
// along (under Wine some 5 ms of the start-up), and the launcher's own
// workflow never performs a shell operation.

#include "platform/Shell.h"
#include "platform/win32/Win32Api.h"

namespace kolvek {

class Win32Shell : public Shell {
public:
    Win32Shell() = default;
    Win32Shell(const Win32Shell&) = delete;
    Win32Shell& operator=(const Win32Shell&) = delete;

    // Hands the request to SHFileOperationA and reports its return value and
    // whether the shell aborted any part of the operation. Never throws; the
    // shell shows its own dialogs, modally, on the calling thread. When
    // shell32.dll or the function cannot be loaded, answers the system's
    // error code (never 0) and no abort.
    ShellFileOpResult FileOperation(const ShellFileOpRequest& request) override;

private:
    // shell32.dll once loaded; freed with the shell object.
    class Library {
    public:
        Library() = default;
        ~Library() {
            if (module_ != nullptr)
                ::FreeLibrary(module_);
        }
        Library(const Library&) = delete;
        Library& operator=(const Library&) = delete;

        HMODULE Get() const { return module_; }
        // Takes ownership of `module`, freeing the one held before.
        void Reset(HMODULE module) {
            if (module_ != nullptr && module_ != module)
                ::FreeLibrary(module_);
            module_ = module;
        }

    private:
        HMODULE module_ = nullptr;
    };

    Library shell32_;
};

} // namespace kolvek

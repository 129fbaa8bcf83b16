#pragma once
// The shell's file operation (copy, move, delete, rename of name lists), and
// its delete into the Recycle Bin.

#include <cstdint>
#include <string>

namespace kolvek {

// The shell's operation codes and flags, with the values the shell defines
// (Win32Shell.cpp checks each against <shellapi.h>); a request carries them
// unchanged. Names of our own, so that this header and the SDK's can be
// included in either order.
namespace shellop {
constexpr std::uint32_t Move = 1;
constexpr std::uint32_t Copy = 2;
constexpr std::uint32_t Delete = 3;
constexpr std::uint32_t Rename = 4;

constexpr std::uint16_t MultiDestFiles = 0x1;
constexpr std::uint16_t Silent = 0x4;
constexpr std::uint16_t RenameOnCollision = 0x8;
constexpr std::uint16_t NoConfirmation = 0x10;
constexpr std::uint16_t AllowUndo = 0x40;
constexpr std::uint16_t FilesOnly = 0x80;
constexpr std::uint16_t SimpleProgress = 0x100;
constexpr std::uint16_t NoConfirmMkDir = 0x200;
} // namespace shellop

// What is handed to the shell. The strings are bytes in the ANSI code page,
// complete with their zero terminators (the name lists end in two zeros).
struct ShellFileOpRequest {
    std::uint32_t ownerWindow = 0;
    std::uint32_t function = 0; // a shellop code
    std::string from;
    std::string to;
    std::uint16_t flags = 0; // shellop flags
    std::string progressTitle;
};

struct ShellFileOpResult {
    std::int32_t returnCode = 0;
    bool anyOperationsAborted = false;
};

class Shell {
public:
    virtual ~Shell() = default;
    virtual ShellFileOpResult FileOperation(const ShellFileOpRequest& request) = 0;
    // Sends the file `path` (a full path, taken literally: no wildcards) to
    // the Recycle Bin, as Explorer's delete does; where its drive keeps no
    // Recycle Bin (a network share, some removable drives) the file is
    // deleted outright. Shows no dialog of the shell's. Throws RuntimeError
    // when the shell fails, leaves any part undone or a file still shows at
    // `path`. The file is then mostly still where it was. Not always: where
    // the system virtualizes this program, a file in its VirtualStore hides
    // one of the same name in the real folder; the shell takes the first and
    // the second then shows. Where the two can be told apart, the error is 75
    // with a description that says the first is gone.
    virtual void RecycleFile(const std::string& path) = 0;
};

} // namespace kolvek

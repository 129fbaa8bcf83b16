#pragma once
// The shell's file operation (copy, move, delete, rename of name lists).

#include <cstdint>
#include <string>

namespace kolvek {

// What is handed to the shell. The strings are bytes in the ANSI code page,
// complete with their zero terminators (the name lists end in two zeros).
struct ShellFileOpRequest {
    std::uint32_t ownerWindow = 0;
    std::uint32_t function = 0;
    std::string from;
    std::string to;
    std::uint16_t flags = 0;
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
};

} // namespace kolvek

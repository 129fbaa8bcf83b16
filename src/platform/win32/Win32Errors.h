#pragma once
// The one place where Win32 error codes become the program's run-time error
// numbers.

#include "platform/RuntimeError.h"
#include "platform/win32/Win32Api.h"

#include <cstdint>

namespace kolvek {

// The run-time error number for a Win32 error code (GetLastError's value).
// Codes without a closer match become 75, path/file access error.
std::int32_t RuntimeErrorNumber(DWORD win32Error);

// Throws RuntimeError for `win32Error`, with the standard description.
[[noreturn]] void ThrowWin32Error(DWORD win32Error);
// The same for GetLastError().
[[noreturn]] void ThrowLastError();

} // namespace kolvek

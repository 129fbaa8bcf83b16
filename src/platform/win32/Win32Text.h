#pragma once
// Conversions between the program's UTF-8 text, UTF-16 (W functions) and the
// system's 8-bit code pages (files, A functions).

#include "platform/win32/Win32Api.h"

#include <cstddef>
#include <string>

namespace kolvek {

// A text length for the int parameters of the Win32 text functions; lack of
// memory (7) beyond what an int holds.
int CheckedLength(std::size_t size);

// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::wstring Widen(const std::string& utf8);
// UTF-16 to UTF-8.
std::string Narrow(const std::wstring& utf16);

// Bytes in `codePage` (CP_ACP, CP_OEMCP, 1252, ...) to UTF-8, and back.
// Characters the code page cannot hold become its default character.
std::string BytesToUtf8(const std::string& bytes, UINT codePage);
std::string Utf8ToBytes(const std::string& utf8, UINT codePage);

} // namespace kolvek

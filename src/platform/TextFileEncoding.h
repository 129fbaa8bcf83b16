#pragma once
// How the bytes of a text file read, decided from all of them: the way
// today's editors save a hand-written kolvar.ini, and the way KOLVEK writes it.
//   - the UTF-16 LE byte-order mark: UTF-16, handed on as UTF-8;
//   - the UTF-8 byte-order mark: UTF-8;
//   - no mark, well-formed UTF-8 with at least one character beyond ASCII
//     (Notepad's default since Windows 10): UTF-8;
//   - anything else: the ANSI code page, as the file KOLVEK itself writes.
// Shared by every FileSystem implementation.

#include <string>

namespace kolvek {

struct DecodedText {
    std::string text;  // without the byte-order mark
    bool utf8 = false; // false: bytes in the ANSI code page, for the caller to decode
};

DecodedText DecodeTextFile(std::string bytes);

} // namespace kolvek

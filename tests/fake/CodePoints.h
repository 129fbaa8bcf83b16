#pragma once
// Decoding UTF-8 into code points, for the test platform's code pages and
// wildcard match; the real platform leaves both to Windows.

#include <string>

namespace kolvek::fake {

// The code points of `text`; each byte that starts no well-formed sequence
// becomes U+FFFD.
std::u32string CodePoints(const std::string& text);

} // namespace kolvek::fake

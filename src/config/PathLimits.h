#pragma once
// How long paths may be, counted as Windows counts them: in UTF-16 units
// (Utf16Length).

#include <cstddef>

namespace kolvek {

// The longest path Windows has at all: the limit of its "\\?\" paths, whose
// length must fit a 16-bit count of bytes (32,767 UTF-16 units).
constexpr std::size_t kLongestPath = 32767;
// The longest game folder (without its closing backslash) that the launch
// script can run the game from: cmd.exe looks for the game as the folder,
// "\armada2.exe" (12 characters) and a terminating zero in a buffer of
// MAX_PATH (260) characters. Longer folders fail quietly or worse.
constexpr std::size_t kLongestGameFolder = 260 - 12 - 1;

} // namespace kolvek

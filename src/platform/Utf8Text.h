#pragma once
// The program's text is UTF-8. Counting and cutting it by characters, so that
// a multi-byte character is never split, checking it, and encoding code points.

#include <cstddef>
#include <string>

namespace kolvek {

std::size_t CharacterCount(const std::string& text);
std::string LeftCharacters(const std::string& text, std::size_t count);
std::string RightCharacters(const std::string& text, std::size_t count);
// The number of UTF-16 units the text takes, as Windows counts path lengths.
std::size_t Utf16Length(const std::string& text);

// The length of the well-formed UTF-8 sequence that starts at `at` (no
// overlong forms, no surrogates, nothing above U+10FFFF); 0 when the bytes
// there are none.
std::size_t WellFormedSequenceLength(const std::string& text, std::size_t at);
// True when every byte of `text` belongs to a well-formed sequence.
bool IsWellFormedUtf8(const std::string& text);

// Appends `codePoint` in UTF-8.
void AppendUtf8(std::string& text, char32_t codePoint);

} // namespace kolvek

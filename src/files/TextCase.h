#pragma once
// Letter case and name matching as file names use them. Text is UTF-8; ASCII
// letters and the Latin-1 letters (umlauts, accents) change case, every other
// character stays as it is.

#include <cstddef>
#include <string>

namespace kolvek {

std::string ToUpperText(const std::string& text);
std::string ToLowerText(const std::string& text);
// True when `name` matches `pattern` (* any run, ? one character), ignoring case.
bool MatchesPattern(const std::string& name, const std::string& pattern);
// Orders names as a file list shows them: ignoring case, then by bytes.
bool NameLess(const std::string& a, const std::string& b);

} // namespace kolvek

namespace kolvek {

// Counting and cutting by characters, not bytes, so that a multi-byte
// character is never split.
std::size_t CharacterCount(const std::string& text);
std::string LeftCharacters(const std::string& text, std::size_t count);
std::string RightCharacters(const std::string& text, std::size_t count);

} // namespace kolvek

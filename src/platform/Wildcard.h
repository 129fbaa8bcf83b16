#pragma once
// Matching with * (any run) and ? (one element) over a sequence that has
// already been brought into one letter case; shared by every TextRules
// implementation, which decide what the elements and the case are.

#include <cstddef>
#include <string>

namespace kolvek {

template <typename Char>
bool MatchesWildcard(const std::basic_string<Char>& name, const std::basic_string<Char>& pattern) {
    // Iterative, with one backtrack point for the latest *: linear in
    // practice, and no recursion however many * the pattern holds.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t ni = 0, pi = 0, starP = kNone, starN = 0;
    while (ni < name.size()) {
        if (pi < pattern.size() && pattern[pi] == Char('*')) {
            starP = pi++;
            starN = ni;
        } else if (pi < pattern.size() && (pattern[pi] == Char('?') || pattern[pi] == name[ni])) {
            ++ni;
            ++pi;
        } else if (starP != kNone) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < pattern.size() && pattern[pi] == Char('*'))
        ++pi;
    return pi == pattern.size();
}

} // namespace kolvek

#pragma once
// The platform's rules for text as file names and lists follow them: letter
// case, names compared ignoring case, names matched against a pattern, and
// the order in which a list shows names. Text is UTF-8. The program keeps no
// rules of its own for any of this.

#include <string>

namespace kolvek {

class TextRules {
public:
    virtual ~TextRules() = default;
    // `text` in capitals.
    virtual std::string UpperCase(const std::string& text) const = 0;
    // True when the two names are the same, letter case aside, as the file
    // system compares names.
    virtual bool SameIgnoringCase(const std::string& a, const std::string& b) const = 0;
    // True when `name` matches `pattern` as a directory listing matches it:
    // * stands for any run of characters, ? for one character; letter case
    // aside.
    virtual bool MatchesPattern(const std::string& name, const std::string& pattern) const = 0;
    // Bytes that order names as a sorted list box of the user's locale does,
    // ignoring case: one name comes before another when its key compares
    // smaller byte by byte. Names that differ only in case get equal keys.
    virtual std::string SortKey(const std::string& name) const = 0;
};

} // namespace kolvek

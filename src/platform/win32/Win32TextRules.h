#pragma once
// The seam's text rules on the calls Windows itself uses for file names and
// sorted lists: LCMapStringEx for capitals and sort keys, CompareStringOrdinal
// for names compared ignoring case, both in the user's locale.

#include "platform/TextRules.h"

namespace kolvek {

class Win32TextRules : public TextRules {
public:
    std::string UpperCase(const std::string& text) const override;
    bool SameIgnoringCase(const std::string& a, const std::string& b) const override;
    // Both sides in capitals, then * and ? over UTF-16 units, as the file
    // system matches a search pattern.
    bool MatchesPattern(const std::string& name, const std::string& pattern) const override;
    // LCMapStringEx's LCMAP_SORTKEY with NORM_IGNORECASE: the keys order names
    // as CompareStringEx with NORM_IGNORECASE does, which is what lstrcmpiW
    // and a list box with LBS_SORT use. Throws RuntimeError when the platform
    // cannot make the key.
    std::string SortKey(const std::string& name) const override;
};

} // namespace kolvek

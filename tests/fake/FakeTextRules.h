#pragma once
// Text rules of the test platform's own, deliberately simpler than any real
// platform's: only the ASCII letters a-z and A-Z have a case, and names sort
// by the bytes of their ASCII capitals. So a test that passes here does not
// rest on the rules the Windows side uses; those have tests of their own.

#include "platform/TextRules.h"

#include <string>

namespace kolvek::fake {

// `text` with a-z turned into A-Z; every other byte as it is.
std::string AsciiUpperCase(const std::string& text);
// * and ? over whole characters of both texts in ASCII capitals.
bool AsciiMatchesPattern(const std::string& name, const std::string& pattern);

class FakeTextRules : public TextRules {
public:
    std::string UpperCase(const std::string& text) const override { return AsciiUpperCase(text); }
    bool SameIgnoringCase(const std::string& a, const std::string& b) const override {
        return AsciiUpperCase(a) == AsciiUpperCase(b);
    }
    bool MatchesPattern(const std::string& name, const std::string& pattern) const override {
        return AsciiMatchesPattern(name, pattern);
    }
    std::string SortKey(const std::string& name) const override { return AsciiUpperCase(name); }
};

} // namespace kolvek::fake

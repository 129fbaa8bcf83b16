#include "fake/FakeTextRules.h"

#include "fake/CodePoints.h"
#include "platform/Wildcard.h"

namespace kolvek::fake {

std::string AsciiUpperCase(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

bool AsciiMatchesPattern(const std::string& name, const std::string& pattern) {
    return MatchesWildcard(CodePoints(AsciiUpperCase(name)), CodePoints(AsciiUpperCase(pattern)));
}

} // namespace kolvek::fake

#include "files/TextCase.h"

#include <cstddef>
#include <vector>

namespace kolvek {

namespace {

// Latin-1 letters are two bytes in UTF-8: C3 80..9E upper, C3 A0..BE lower
// (with the multiplication and division signs, C3 97 and C3 B7, as the gaps).
std::string ChangeCase(const std::string& text, bool upper) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (upper && c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 32);
        } else if (!upper && c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            unsigned char d = static_cast<unsigned char>(out[i + 1]);
            if (upper && d >= 0xA0 && d <= 0xBE && d != 0xB7)
                out[i + 1] = static_cast<char>(d - 0x20);
            else if (!upper && d >= 0x80 && d <= 0x9E && d != 0x97)
                out[i + 1] = static_cast<char>(d + 0x20);
            ++i;
        }
    }
    return out;
}

// Splits folded UTF-8 into characters so that ? stands for one of them.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = 1;
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0xF0)
            len = 4;
        else if (c >= 0xE0)
            len = 3;
        else if (c >= 0xC0)
            len = 2;
        chars.push_back(text.substr(i, len));
        i += len;
    }
    return chars;
}

} // namespace

std::string ToUpperText(const std::string& text) {
    return ChangeCase(text, true);
}
std::string ToLowerText(const std::string& text) {
    return ChangeCase(text, false);
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    const auto n = Characters(ToUpperText(name));
    const auto p = Characters(ToUpperText(pattern));
    // Iterative matching with one backtrack point for the latest *.
    std::size_t ni = 0, pi = 0, starP = std::string::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == "?" || p[pi] == n[ni])) {
            ++ni;
            ++pi;
        } else if (pi < p.size() && p[pi] == "*") {
            starP = pi++;
            starN = ni;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == "*")
        ++pi;
    return pi == p.size();
}

bool NameLess(const std::string& a, const std::string& b) {
    const std::string fa = ToUpperText(a), fb = ToUpperText(b);
    if (fa != fb)
        return fa < fb;
    return a < b;
}

} // namespace kolvek

namespace kolvek {

namespace {
bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of the character with index `index` (the size past the end).
std::size_t OffsetOfCharacter(const std::string& text, std::size_t index) {
    std::size_t offset = 0;
    for (std::size_t seen = 0; offset < text.size(); ++offset) {
        if (IsContinuationByte(text[offset]))
            continue;
        if (seen++ == index)
            return offset;
    }
    return text.size();
}
} // namespace

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text)
        count += IsContinuationByte(c) ? 0 : 1;
    return count;
}

std::string LeftCharacters(const std::string& text, std::size_t count) {
    return text.substr(0, OffsetOfCharacter(text, count));
}

std::string RightCharacters(const std::string& text, std::size_t count) {
    const std::size_t total = CharacterCount(text);
    if (count >= total)
        return text;
    return text.substr(OffsetOfCharacter(text, total - count));
}

} // namespace kolvek

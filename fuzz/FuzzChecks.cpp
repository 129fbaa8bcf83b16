#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

namespace kolvek::fuzz {

void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "\n*** invariant broken: %s\n*** %s\n", what, detail.c_str());
    std::abort();
}

std::string WellFormedUtf8(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        std::size_t len = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c < 0x80) {
            len = 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0)
                low = 0xA0; // no overlong forms
            if (c == 0xED)
                high = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0)
                low = 0x90;
            if (c == 0xF4)
                high = 0x8F;
        }
        bool ok = len != 0 && i + len <= bytes.size();
        for (std::size_t k = 1; ok && k < len; ++k) {
            const unsigned char d = static_cast<unsigned char>(bytes[i + k]);
            ok = k == 1 ? (d >= low && d <= high) : (d >= 0x80 && d <= 0xBF);
        }
        if (ok) {
            out.append(bytes, i, len);
            i += len;
        } else {
            ++i;
        }
    }
    return out;
}

bool SplitWrittenLines(const std::string& bytes, std::vector<std::string>& lines) {
    lines.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos)
            return false;
        const std::string line = bytes.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos)
            return false;
        lines.push_back(line);
        start = end + 2;
    }
    return true;
}

bool HasUnescapedCommandCharacter(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '^') {
            if (i + 1 == line.size())
                return true;
            ++i; // the next character is taken literally
            continue;
        }
        if (c == '&' || c == '|' || c == '<' || c == '>')
            return true;
    }
    return false;
}

bool HasLonePercent(const std::string& line) {
    std::size_t run = 0;
    for (char c : line + ' ') {
        if (c == '%') {
            ++run;
            continue;
        }
        if (run % 2 != 0)
            return true;
        run = 0;
    }
    return false;
}

} // namespace kolvek::fuzz

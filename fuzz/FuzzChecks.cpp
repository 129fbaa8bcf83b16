#include "FuzzChecks.h"

#include "platform/Utf8Text.h"

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
        const std::size_t length = WellFormedSequenceLength(bytes, i);
        if (length == 0) {
            ++i;
            continue;
        }
        out.append(bytes, i, length);
        i += length;
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

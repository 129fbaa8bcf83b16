#include "files/FileNames.h"

#include <algorithm>

namespace kolvek {

namespace {

// Device names contain ASCII letters only, so ASCII capitals are enough.
std::string AsciiCapitals(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// Windows counts the superscript digits as digits here.
bool IsDeviceNumber(const std::string& text) {
    return (text.size() == 1 && text[0] >= '0' && text[0] <= '9') || text == "\xC2\xB9" ||
           text == "\xC2\xB2" || text == "\xC2\xB3";
}

} // namespace

bool HasForbiddenCharacter(const std::string& name) {
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32)
            return true;
        switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return true;
        default:
            break;
        }
    }
    return false;
}

bool IsReservedDeviceName(const std::string& name) {
    const std::string stem = AsciiCapitals(name.substr(0, name.find('.')));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" ||
        stem == "CONOUT$")
        return true;
    return (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           IsDeviceNumber(stem.substr(std::min<std::size_t>(3, stem.size())));
}

bool WindowsAllowsName(const std::string& name) {
    // U+FFFD is what names whose bytes are no text are reported with; two
    // such names look the same, so neither can be named exactly.
    return !HasForbiddenCharacter(name) && !IsReservedDeviceName(name) &&
           name.find("\xEF\xBF\xBD") == std::string::npos;
}

} // namespace kolvek

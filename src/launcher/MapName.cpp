#include "launcher/MapName.h"

#include "platform/Utf8Text.h"

namespace kolvek {

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

bool IsReservedDeviceName(const TextRules& text, const std::string& name) {
    const std::string stem = text.UpperCase(name.substr(0, name.find('.')));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool HasMapExtension(const TextRules& text, const std::string& name) {
    return text.SameIgnoringCase(RightCharacters(name, 4), ".bzn");
}

} // namespace kolvek

#include "launcher/MapName.h"

#include "platform/Utf8Text.h"

namespace kolvek {

bool HasMapExtension(const TextRules& text, const std::string& name) {
    return text.SameIgnoringCase(RightCharacters(name, 4), ".bzn");
}

} // namespace kolvek

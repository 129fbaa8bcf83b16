#include "fake/CodePoints.h"

#include "platform/Utf8Text.h"

namespace kolvek::fake {

std::u32string CodePoints(const std::string& text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = WellFormedSequenceLength(text, i);
        if (length == 0) {
            out += U'\xFFFD';
            ++i;
            continue;
        }
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        char32_t codePoint = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length; ++k)
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += codePoint;
        i += length;
    }
    return out;
}

} // namespace kolvek::fake

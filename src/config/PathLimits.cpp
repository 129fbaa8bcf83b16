#include "config/PathLimits.h"

namespace kolvek {

std::size_t Utf16Length(const std::string& text) {
    std::size_t units = 0;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            ++units; // a character starts here
        if (byte >= 0xF0)
            ++units; // beyond the BMP: a surrogate pair
    }
    return units;
}

} // namespace kolvek

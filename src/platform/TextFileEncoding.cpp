#include "platform/TextFileEncoding.h"

#include "platform/Utf8Text.h"

#include <algorithm>

namespace kolvek {

namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16LeMark[] = "\xFF\xFE";

bool StartsWith(const std::string& bytes, const char* mark, std::size_t length) {
    return bytes.compare(0, length, mark, length) == 0;
}

// UTF-16 LE after the mark; a lone surrogate or a last odd byte becomes U+FFFD.
std::string Utf16LeToUtf8(const std::string& bytes, std::size_t start) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t at) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[at]) |
                                     (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    std::size_t i = start;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? U'\xFFFD' : c);
    }
    if (i < bytes.size())
        AppendUtf8(out, U'\xFFFD');
    return out;
}

} // namespace

DecodedText DecodeTextFile(std::string bytes) {
    if (StartsWith(bytes, kUtf16LeMark, 2))
        return {Utf16LeToUtf8(bytes, 2), true};
    if (StartsWith(bytes, kUtf8Mark, 3))
        return {bytes.substr(3), true};
    const bool beyondAscii = std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    const bool utf8 = beyondAscii && IsWellFormedUtf8(bytes);
    return {std::move(bytes), utf8};
}

} // namespace kolvek

#include "platform/Utf8Text.h"

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

std::size_t Utf16Length(const std::string& text) {
    std::size_t units = 0;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (!IsContinuationByte(c))
            ++units; // a character starts here
        if (byte >= 0xF0)
            ++units; // beyond the BMP: a surrogate pair
    }
    return units;
}

std::size_t WellFormedSequenceLength(const std::string& text, std::size_t at) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (c < 0x80) {
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0; // no overlong forms
        if (c == 0xED)
            high = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char d = static_cast<unsigned char>(text[at + k]);
        if (k == 1 ? (d < low || d > high) : !IsContinuationByte(text[at + k]))
            return 0;
    }
    return length;
}

bool IsWellFormedUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = WellFormedSequenceLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

void AppendUtf8(std::string& text, char32_t codePoint) {
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace kolvek

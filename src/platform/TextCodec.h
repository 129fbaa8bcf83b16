#pragma once
// Conversions between the program's UTF-8 text and the system's 8-bit code pages.

#include <string>

namespace kolvek {

enum class CodePage {
    Ansi, // the system's ANSI code page (files, A-functions)
    Oem,  // the console's code page, which cmd.exe reads batch files in
};

class TextCodec {
public:
    virtual ~TextCodec() = default;
    // Characters the code page cannot hold become the platform's default character.
    virtual std::string FromUtf8(const std::string& utf8, CodePage page) const = 0;
    virtual std::string ToUtf8(const std::string& bytes, CodePage page) const = 0;
};

} // namespace kolvek

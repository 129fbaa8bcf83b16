#pragma once
// The seam's text codec on the system's ANSI and OEM code pages.

#include "platform/TextCodec.h"
#include "platform/win32/Win32Api.h"

namespace kolvek {

// The Win32 code page identifier for the seam's code page.
UINT Win32CodePage(CodePage page);

class Win32TextCodec : public TextCodec {
public:
    std::string FromUtf8(const std::string& utf8, CodePage page) const override;
    std::string ToUtf8(const std::string& bytes, CodePage page) const override;
};

} // namespace kolvek

#pragma once
// The code pages of a default Western European system: Windows-1252 as the
// ANSI page and 437 as the OEM page.

#include "platform/TextCodec.h"

namespace kolvek::fake {

class FakeTextCodec : public TextCodec {
public:
    std::string FromUtf8(const std::string& utf8, CodePage page) const override;
    std::string ToUtf8(const std::string& bytes, CodePage page) const override;
};

} // namespace kolvek::fake

#include "platform/win32/Win32TextCodec.h"

#include "platform/win32/Win32Text.h"

namespace kolvek {

UINT Win32CodePage(CodePage page) {
    return page == CodePage::Oem ? CP_OEMCP : CP_ACP;
}

std::string Win32TextCodec::FromUtf8(const std::string& utf8, CodePage page) const {
    return Utf8ToBytes(utf8, Win32CodePage(page));
}

std::string Win32TextCodec::ToUtf8(const std::string& bytes, CodePage page) const {
    return BytesToUtf8(bytes, Win32CodePage(page));
}

} // namespace kolvek

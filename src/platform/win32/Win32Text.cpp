#include "platform/win32/Win32Text.h"

#include "platform/win32/Win32Errors.h"

#include <climits>

namespace kolvek {

namespace {

std::wstring Decode(const std::string& bytes, UINT codePage) {
    if (bytes.empty())
        return {};
    const int inLength = CheckedLength(bytes.size());
    const int outLength = ::MultiByteToWideChar(codePage, 0, bytes.data(), inLength, nullptr, 0);
    if (outLength <= 0)
        ThrowLastError();
    std::wstring result(static_cast<std::size_t>(outLength), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), inLength, result.data(), outLength);
    return result;
}

std::string Encode(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return {};
    const int inLength = CheckedLength(text.size());
    // No "best fit": a look-alike such as the full-width & must not turn into
    // the ASCII character, which would slip past every check on the text.
    // UTF-8 takes no flags.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int outLength =
        ::WideCharToMultiByte(codePage, flags, text.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0)
        ThrowLastError();
    std::string result(static_cast<std::size_t>(outLength), '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), inLength, result.data(), outLength, nullptr,
                          nullptr);
    return result;
}

} // namespace

int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX))
        throw RuntimeError(err::OutOfMemory);
    return static_cast<int>(size);
}

std::wstring Widen(const std::string& utf8) {
    return Decode(utf8, CP_UTF8);
}

std::string Narrow(const std::wstring& utf16) {
    return Encode(utf16, CP_UTF8);
}

std::string BytesToUtf8(const std::string& bytes, UINT codePage) {
    return Narrow(Decode(bytes, codePage));
}

std::string Utf8ToBytes(const std::string& utf8, UINT codePage) {
    return Encode(Widen(utf8), codePage);
}

} // namespace kolvek

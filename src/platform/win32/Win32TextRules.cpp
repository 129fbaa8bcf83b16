#include "platform/win32/Win32TextRules.h"

#include "platform/Wildcard.h"
#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Text.h"

namespace kolvek {

namespace {

// LCMapStringEx in the user's locale. `Result` holds the mapped text: wide
// characters for a case mapping, bytes for a sort key (whose length the call
// counts in bytes, though it takes a wide-character pointer).
template <typename Result> Result MapString(const std::wstring& text, DWORD flags) {
    if (text.empty())
        return {};
    const int inLength = CheckedLength(text.size());
    const int outLength = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.data(), inLength,
                                          nullptr, 0, nullptr, nullptr, 0);
    if (outLength <= 0)
        ThrowLastError();
    Result result(static_cast<std::size_t>(outLength), typename Result::value_type());
    if (::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.data(), inLength,
                        reinterpret_cast<LPWSTR>(&result[0]), outLength, nullptr, nullptr, 0) <= 0)
        ThrowLastError();
    return result;
}

std::wstring Upper(const std::wstring& text) {
    return MapString<std::wstring>(text, LCMAP_UPPERCASE);
}

} // namespace

std::string Win32TextRules::UpperCase(const std::string& text) const {
    return Narrow(Upper(Widen(text)));
}

bool Win32TextRules::SameIgnoringCase(const std::string& a, const std::string& b) const {
    const std::wstring wideA = Widen(a), wideB = Widen(b);
    return ::CompareStringOrdinal(wideA.data(), CheckedLength(wideA.size()), wideB.data(),
                                  CheckedLength(wideB.size()), TRUE) == CSTR_EQUAL;
}

bool Win32TextRules::MatchesPattern(const std::string& name, const std::string& pattern) const {
    return MatchesWildcard(Upper(Widen(name)), Upper(Widen(pattern)));
}

std::string Win32TextRules::SortKey(const std::string& name) const {
    return MapString<std::string>(Widen(name), LCMAP_SORTKEY | NORM_IGNORECASE);
}

} // namespace kolvek

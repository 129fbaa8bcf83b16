#pragma once
// The registry reader's three calls, handed to advapi32's A functions as they
// are: names are converted from UTF-8 to the ANSI code page, value data comes
// back raw, and the result codes are the functions' own.

#include "platform/Registry.h"

namespace kolvek {

class Win32Registry : public Registry {
public:
    // `*key` receives what RegOpenKeyExA leaves in its out-parameter (null on
    // failure).
    std::int32_t OpenKeyEx(std::int32_t root, const std::string& subKey, std::uint32_t options,
                           std::uint32_t access, RegKeyHandle* key) override;
    std::int32_t QueryValueEx(RegKeyHandle key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) override;
    std::int32_t CloseKey(RegKeyHandle key) override;
};

} // namespace kolvek

#pragma once
// The three registry calls the registry reader makes, with the platform's own
// arguments and result codes (0 is success). Key and value names are UTF-8;
// value data comes back as the platform's raw bytes (strings in the ANSI code
// page).

#include <cstdint>
#include <string>

namespace kolvek {

using RegKeyHandle = std::uintptr_t;

constexpr std::int32_t kHKeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

class Registry {
public:
    virtual ~Registry() = default;
    virtual std::int32_t OpenKeyEx(std::int32_t root, const std::string& subKey,
                                   std::uint32_t options, std::uint32_t access,
                                   RegKeyHandle* key) = 0;
    // With `data` null it reports the type and the size only.
    virtual std::int32_t QueryValueEx(RegKeyHandle key, const std::string& valueName,
                                      std::uint32_t* type, std::uint8_t* data,
                                      std::uint32_t* size) = 0;
    virtual std::int32_t CloseKey(RegKeyHandle key) = 0;
};

} // namespace kolvek

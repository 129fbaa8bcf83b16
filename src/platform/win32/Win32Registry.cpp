#include "platform/win32/Win32Registry.h"

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Text.h"

namespace kolvek {

namespace {

// Root keys are 32-bit values sign-extended to a handle (HKEY_LOCAL_MACHINE is
// (HKEY)(ULONG_PTR)(LONG)0x80000002).
HKEY ToHkey(std::int32_t root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY ToHkey(RegKeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}

} // namespace

std::int32_t Win32Registry::OpenKeyEx(std::int32_t root, const std::string& subKey,
                                      std::uint32_t options, std::uint32_t access,
                                      RegKeyHandle* key) {
    const std::string ansiSubKey = Utf8ToBytes(subKey, CP_ACP);
    HKEY opened = key != nullptr ? ToHkey(*key) : nullptr;
    const LONG rc = ::RegOpenKeyExA(ToHkey(root), ansiSubKey.c_str(), options, access,
                                    key != nullptr ? &opened : nullptr);
    if (key != nullptr)
        *key = reinterpret_cast<RegKeyHandle>(opened);
    return rc;
}

std::int32_t Win32Registry::QueryValueEx(RegKeyHandle key, const std::string& valueName,
                                         std::uint32_t* type, std::uint8_t* data,
                                         std::uint32_t* size) {
    const std::string ansiName = Utf8ToBytes(valueName, CP_ACP);
    DWORD valueType = type != nullptr ? *type : 0;
    DWORD byteCount = size != nullptr ? *size : 0;
    const LONG rc = ::RegQueryValueExA(ToHkey(key), ansiName.c_str(), nullptr,
                                       type != nullptr ? &valueType : nullptr, data,
                                       size != nullptr ? &byteCount : nullptr);
    if (type != nullptr)
        *type = valueType;
    if (size != nullptr)
        *size = byteCount;
    return rc;
}

std::int32_t Win32Registry::CloseKey(RegKeyHandle key) {
    return ::RegCloseKey(ToHkey(key));
}

} // namespace kolvek

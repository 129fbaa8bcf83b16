#pragma once
// An in-memory registry with the platform's result codes: 2 for a missing key
// or value, 6 for a query on the zero handle, 234 when the buffer is short.

#include "platform/Registry.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kolvek::fake {

class FakeRegistry : public Registry {
public:
    static constexpr std::int32_t kFileNotFound = 2;
    static constexpr std::int32_t kAccessDenied = 5;
    static constexpr std::int32_t kInvalidHandle = 6;
    static constexpr std::int32_t kMoreData = 234;

    struct Value {
        std::uint32_t type = 0;
        std::string data; // raw bytes
    };

    void SetValue(std::int32_t root, const std::string& key, const std::string& name,
                  std::uint32_t type, const std::string& data);
    // A REG_SZ value stored with one terminating zero.
    void SetString(std::int32_t root, const std::string& key, const std::string& name,
                   const std::string& ansi);
    void AddKey(std::int32_t root, const std::string& key);
    // Opening this key is refused with access denied, unless every access
    // right asked for is among `granted` (KEY_QUERY_VALUE is 0x1).
    void DenyAccess(std::int32_t root, const std::string& key, std::uint32_t granted = 0);

    // Results to give instead of the real ones, query by query (first and
    // second query of a read); nullopt answers normally.
    std::vector<std::optional<std::int32_t>> forcedQueryResults;

    std::int32_t OpenKeyEx(std::int32_t root, const std::string& subKey, std::uint32_t options,
                           std::uint32_t access, RegKeyHandle* key) override;
    std::int32_t QueryValueEx(RegKeyHandle key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) override;
    std::int32_t CloseKey(RegKeyHandle key) override;

    std::vector<std::uint32_t> openedAccess; // access asked for, per open
    std::vector<RegKeyHandle> closedKeys;
    int openHandles = 0;

private:
    static std::string KeyName(std::int32_t root, const std::string& key);
    std::map<std::string, std::map<std::string, Value>> keys_;
    std::map<std::string, std::uint32_t> granted_; // keys with restricted access
    std::map<RegKeyHandle, std::string> handles_;
    RegKeyHandle nextHandle_ = 0x100;
    std::size_t queries_ = 0;
};

} // namespace kolvek::fake

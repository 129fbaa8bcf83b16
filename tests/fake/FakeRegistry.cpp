#include "fake/FakeRegistry.h"

#include "fake/FakeTextRules.h"

#include <cstring>

namespace kolvek::fake {

std::string FakeRegistry::KeyName(std::int32_t root, const std::string& key) {
    return std::to_string(root) + "\\" + AsciiUpperCase(key);
}

void FakeRegistry::AddKey(std::int32_t root, const std::string& key) {
    keys_[KeyName(root, key)];
}

void FakeRegistry::SetValue(std::int32_t root, const std::string& key, const std::string& name,
                            std::uint32_t type, const std::string& data) {
    keys_[KeyName(root, key)][AsciiUpperCase(name)] = Value{type, data};
}

void FakeRegistry::SetString(std::int32_t root, const std::string& key, const std::string& name,
                             const std::string& ansi) {
    SetValue(root, key, name, kRegSz, ansi + std::string(1, '\0'));
}

void FakeRegistry::DenyAccess(std::int32_t root, const std::string& key, std::uint32_t granted) {
    granted_[KeyName(root, key)] = granted;
}

std::int32_t FakeRegistry::OpenKeyEx(std::int32_t root, const std::string& subKey, std::uint32_t,
                                     std::uint32_t access, RegKeyHandle* key) {
    openedAccess.push_back(access);
    if (root == 0)
        return kInvalidHandle;
    const std::string name = KeyName(root, subKey);
    if (keys_.count(name) == 0)
        return kFileNotFound;
    const auto restricted = granted_.find(name);
    if (restricted != granted_.end() && (access & ~restricted->second) != 0)
        return kAccessDenied;
    *key = nextHandle_++;
    handles_[*key] = name;
    ++openHandles;
    return 0;
}

std::int32_t FakeRegistry::QueryValueEx(RegKeyHandle key, const std::string& valueName,
                                        std::uint32_t* type, std::uint8_t* data,
                                        std::uint32_t* size) {
    const std::size_t index = queries_++;
    if (index < forcedQueryResults.size() && forcedQueryResults[index])
        return *forcedQueryResults[index];
    const auto handle = handles_.find(key);
    if (handle == handles_.end())
        return kInvalidHandle;
    const auto& values = keys_[handle->second];
    const auto value = values.find(AsciiUpperCase(valueName));
    if (value == values.end())
        return kFileNotFound;
    *type = value->second.type;
    const std::uint32_t length = static_cast<std::uint32_t>(value->second.data.size());
    if (data == nullptr) {
        *size = length;
        return 0;
    }
    if (*size < length) {
        *size = length;
        return kMoreData;
    }
    std::memcpy(data, value->second.data.data(), length);
    *size = length;
    return 0;
}

std::int32_t FakeRegistry::CloseKey(RegKeyHandle key) {
    closedKeys.push_back(key);
    if (handles_.erase(key))
        --openHandles;
    return key == 0 ? kInvalidHandle : 0;
}

} // namespace kolvek::fake

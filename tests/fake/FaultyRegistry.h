#pragma once
// A registry that passes every call to another one and records it, except the
// one call chosen to fail, which answers a given result code instead and
// leaves its out-parameters alone, and the one call chosen to throw.

#include "platform/Registry.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace kolvek::fake {

class FaultyRegistry : public Registry {
public:
    explicit FaultyRegistry(Registry& inner) : inner_(inner) {}

    // Call number `index` (counted from 0 over opens, queries and closes
    // together) answers `rc` without reaching the inner registry.
    void FailCall(std::size_t index, std::int32_t rc) {
        failIndex_ = index;
        failResult_ = rc;
    }
    // Call number `index` throws std::bad_alloc instead, as a failed
    // allocation just before it would.
    void ThrowAtCall(std::size_t index) { throwIndex_ = index; }
    // "open <key>", "query <value>" and "close", in the order they came.
    const std::vector<std::string>& Calls() const { return calls_; }

    std::int32_t OpenKeyEx(std::int32_t root, const std::string& subKey, std::uint32_t options,
                           std::uint32_t access, RegKeyHandle* key) override {
        if (Failing("open " + subKey))
            return failResult_;
        return inner_.OpenKeyEx(root, subKey, options, access, key);
    }
    std::int32_t QueryValueEx(RegKeyHandle key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) override {
        if (Failing("query " + valueName))
            return failResult_;
        return inner_.QueryValueEx(key, valueName, type, data, size);
    }
    std::int32_t CloseKey(RegKeyHandle key) override {
        if (Failing("close"))
            return failResult_;
        return inner_.CloseKey(key);
    }

private:
    bool Failing(const std::string& call) {
        calls_.push_back(call);
        if (calls_.size() - 1 == throwIndex_)
            throw std::bad_alloc();
        return calls_.size() - 1 == failIndex_;
    }

    Registry& inner_;
    std::vector<std::string> calls_;
    std::size_t failIndex_ = static_cast<std::size_t>(-1);
    std::size_t throwIndex_ = static_cast<std::size_t>(-1);
    std::int32_t failResult_ = 0;
};

} // namespace kolvek::fake

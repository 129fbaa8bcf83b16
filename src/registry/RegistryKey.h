#pragma once
// The owner of one registry key handle: it closes the handle exactly once, in
// its destructor, and cannot be copied.

#include "platform/Registry.h"

#include <cstdint>
#include <string>

namespace kolvek {

class RegistryKey {
public:
    explicit RegistryKey(Registry& registry) : registry_(registry) {}
    // Closes the handle even when no open succeeded and it is still 0: the
    // reader has always ended each query with exactly one close, and the
    // platform answers a close of 0 with an error nobody reads.
    ~RegistryKey() { registry_.CloseKey(handle_); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens `subKey` below `root` with `access` and answers the platform's
    // result code. Only while no key is open: the handle starts at 0 again,
    // so that a refused open can be followed by another try.
    std::int32_t Open(std::int32_t root, const std::string& subKey, std::uint32_t access) {
        handle_ = 0;
        return registry_.OpenKeyEx(root, subKey, 0, access, &handle_);
    }

    RegKeyHandle Handle() const { return handle_; }

private:
    Registry& registry_;
    RegKeyHandle handle_ = 0;
};

} // namespace kolvek

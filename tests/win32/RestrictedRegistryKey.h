#pragma once
// A registry key with a DACL of the test's choice for as long as it lives,
// for trying the program as a standard user: below HKEY_LOCAL_MACHINE\SOFTWARE
// such a user may read keys but not write them. Shared by the Windows tests
// and the end-to-end driver; nothing here knows the program's code.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kolvek::wintest {

// Everyone may read the key, nobody may write it (KR is KEY_READ).
constexpr wchar_t kEveryoneMayRead[] = L"D:P(A;;KR;;;WD)";
// Nobody may do anything with the key.
constexpr wchar_t kNobodyMayOpen[] = L"D:P";

// The key's DACL becomes the one `sddl` gives; at the end the earlier DACL is
// back, so that the key can be written and removed again. The handle that
// restores it is opened before the DACL changes, with the right to change it.
class RestrictedRegistryKey {
public:
    RestrictedRegistryKey(HKEY root, const wchar_t* subKey, REGSAM view, const wchar_t* sddl) {
        if (::RegOpenKeyExW(root, subKey, 0, READ_CONTROL | WRITE_DAC | view, &key_) !=
            ERROR_SUCCESS)
            throw std::runtime_error("cannot open the key to change its DACL");
        DWORD size = 0;
        ::RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        oldSecurity_.resize(size);
        if (size == 0 || ::RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, oldSecurity_.data(),
                                             &size) != ERROR_SUCCESS) {
            ::RegCloseKey(key_);
            throw std::runtime_error("cannot read the key's DACL");
        }
        PSECURITY_DESCRIPTOR restricted = nullptr;
        LONG rc = ERROR_INVALID_PARAMETER;
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                   &restricted, nullptr)) {
            rc = ::RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, restricted);
            ::LocalFree(restricted);
        }
        if (rc != ERROR_SUCCESS) {
            ::RegCloseKey(key_);
            throw std::runtime_error("cannot set the key's DACL");
        }
    }
    ~RestrictedRegistryKey() {
        EXPECT_EQ(ERROR_SUCCESS,
                  ::RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, oldSecurity_.data()))
            << "the key keeps its restricted DACL";
        ::RegCloseKey(key_);
    }
    RestrictedRegistryKey(const RestrictedRegistryKey&) = delete;
    RestrictedRegistryKey& operator=(const RestrictedRegistryKey&) = delete;

private:
    HKEY key_ = nullptr;
    std::vector<BYTE> oldSecurity_;
};

} // namespace kolvek::wintest

#pragma once
// Owners of Win32 handles: each closes its handle exactly once, in its
// destructor, and cannot be copied.

#include "platform/win32/Win32Api.h"

#include <utility>

namespace kolvek {

// A kernel object handle (file, process, thread). Both null and
// INVALID_HANDLE_VALUE count as "no handle".
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Release() { return std::exchange(handle_, nullptr); }
    // Closes the handle now and answers CloseHandle's result (TRUE without a handle).
    BOOL Reset() {
        BOOL ok = TRUE;
        if (Valid())
            ok = ::CloseHandle(handle_);
        handle_ = nullptr;
        return ok;
    }

private:
    HANDLE handle_ = nullptr;
};

// A search handle from FindFirstFileW.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (Valid())
            ::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// A module from LoadLibraryExW.
class ModuleHandle {
public:
    ModuleHandle() = default;
    ~ModuleHandle() { Reset(nullptr); }
    ModuleHandle(const ModuleHandle&) = delete;
    ModuleHandle& operator=(const ModuleHandle&) = delete;

    HMODULE Get() const { return module_; }
    // Takes ownership of `module`, freeing the one held before.
    void Reset(HMODULE module) {
        if (module_ != nullptr && module_ != module)
            ::FreeLibrary(module_);
        module_ = module;
    }

private:
    HMODULE module_ = nullptr;
};

} // namespace kolvek

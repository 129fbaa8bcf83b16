#pragma once
// Owners of Win32 handles, all of one shape: each closes its handle exactly
// once, in its destructor, and can be moved but not copied. A new kind of
// handle costs one line of traits and one alias.

#include "platform/win32/Win32Api.h"

#include <utility>

namespace kolvek {

// `Traits` names the handle type (Handle), its empty value (Empty()), what
// counts as a handle (Valid) and how it is closed (Close, answering whether
// that worked).
template <typename Traits> class UniqueOwner {
public:
    using Handle = typename Traits::Handle;

    UniqueOwner() = default;
    explicit UniqueOwner(Handle handle) : handle_(handle) {}
    ~UniqueOwner() { Reset(); }
    UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.Release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;

    Handle Get() const { return handle_; }
    bool Valid() const { return Traits::Valid(handle_); }
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    // Closes the handle held and takes `handle`; answers whether the close
    // worked (true when there was nothing to close).
    bool Reset(Handle handle = Traits::Empty()) {
        bool closed = true;
        if (Valid() && handle_ != handle)
            closed = Traits::Close(handle_);
        handle_ = handle;
        return closed;
    }

private:
    Handle handle_ = Traits::Empty();
};

// The usual traits' half for handles whose empty value is null.
template <typename H> struct NullIsEmpty {
    using Handle = H;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
};

// A kernel object handle (file, process, thread). Both null and
// INVALID_HANDLE_VALUE count as "no handle".
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return ::CloseHandle(h) != FALSE; }
};
using UniqueHandle = UniqueOwner<KernelHandleTraits>;

// A search handle from FindFirstFileW.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Handle h) { return h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return ::FindClose(h) != FALSE; }
};
using FindHandle = UniqueOwner<FindHandleTraits>;

// A module from LoadLibraryExW.
struct ModuleTraits : NullIsEmpty<HMODULE> {
    static bool Close(Handle h) { return ::FreeLibrary(h) != FALSE; }
};
using ModuleHandle = UniqueOwner<ModuleTraits>;

// An environment block from GetEnvironmentStringsW.
struct EnvironmentBlockTraits : NullIsEmpty<wchar_t*> {
    static bool Close(Handle h) { return ::FreeEnvironmentStringsW(h) != FALSE; }
};
using EnvironmentBlock = UniqueOwner<EnvironmentBlockTraits>;

} // namespace kolvek

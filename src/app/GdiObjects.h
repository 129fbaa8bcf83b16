#pragma once
// Owners of the GDI objects the dialog keeps: each deletes its object once,
// in its destructor, and cannot be copied.

#include "platform/win32/Win32Api.h"

#include <utility>

namespace kolvek {

// A bitmap, font or brush made by this program (never a stock object).
template <typename Handle> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() {
        if (handle_ != nullptr)
            ::DeleteObject(handle_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle Get() const { return handle_; }
    // Takes ownership of `handle`, deleting the object held before.
    void Reset(Handle handle) {
        if (handle_ != nullptr && handle_ != handle)
            ::DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

// A memory device context compatible with another one, with one object
// selected into it; the old object is selected back before the DC goes.
class MemoryDC {
public:
    MemoryDC(HDC compatibleWith, HGDIOBJ object)
        : dc_(::CreateCompatibleDC(compatibleWith)),
          old_(dc_ != nullptr ? ::SelectObject(dc_, object) : nullptr) {}
    ~MemoryDC() {
        if (dc_ != nullptr) {
            ::SelectObject(dc_, old_);
            ::DeleteDC(dc_);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The screen's device context, for asking its resolution.
class ScreenDC {
public:
    ScreenDC() : dc_(::GetDC(nullptr)) {}
    ~ScreenDC() {
        if (dc_ != nullptr)
            ::ReleaseDC(nullptr, dc_);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

} // namespace kolvek

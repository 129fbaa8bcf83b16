#pragma once
// Owners of the GDI objects the dialog keeps and of the device contexts it
// borrows: each gives its object back once, in its destructor.

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Handles.h"

namespace kolvek {

// A bitmap, font or brush made by this program (never a stock object).
template <typename Object> struct GdiObjectTraits : NullIsEmpty<Object> {
    static bool Close(Object h) { return ::DeleteObject(h) != FALSE; }
};
template <typename Object> using GdiObject = UniqueOwner<GdiObjectTraits<Object>>;

// The screen's device context, from GetDC(nullptr).
struct ScreenDCTraits : NullIsEmpty<HDC> {
    static bool Close(HDC h) { return ::ReleaseDC(nullptr, h) != 0; }
};
using ScreenDC = UniqueOwner<ScreenDCTraits>;

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

} // namespace kolvek

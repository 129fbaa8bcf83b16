#pragma once
// <windows.h> as the Win32 side of the program includes it: lean, without the
// min and max macros. The Win32 functions are always called by their explicit
// W or A names.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace kolvek {

// The function at `address`, as GetProcAddress answers it, as the type
// `Function`: through void (*)(), to which every function pointer converts
// and back without a warning of incompatible function types.
template <typename Function> Function AsFunction(FARPROC address) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

} // namespace kolvek

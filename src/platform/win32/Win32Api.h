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

#pragma once
// <windows.h> as the Win32 side of the program includes it. Some of the SDK's
// macros share names with the seam's methods (MessageBox, FindFirstFile,
// ReplaceFile); they are dropped here so that overriding and calling those
// methods works, and the Win32 functions are always called by their explicit
// W or A names. Include this instead of <windows.h>.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef MessageBox
#undef FindFirstFile
#undef ReplaceFile

// Forced into every source of a Release build (App.cmake). Without it the
// library headers declare std::string and std::wstring as instantiated in
// libstdc++, and the first use of either links the library's whole
// instantiation object (some 30 KB each) into the statically linked program.
// With it, each source instantiates the members it uses, in sections of their
// own, and the linker drops the rest. The value -1 is the library's own switch
// for exactly that, limited to basic_string.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1

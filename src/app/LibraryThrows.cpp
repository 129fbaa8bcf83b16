// The standard library's own throw helpers, as KOLVEK.EXE needs them. The
// library's versions build std::logic_error and its kin, whose copy of the
// message brings a second, reference-counted string implementation with it:
// some 80 KB in a statically linked program. KOLVEK catches none of these
// errors (only its RuntimeError and std::bad_alloc), so each of them ends the
// program as an uncaught exception would; the two that a handler may catch
// are thrown as before. (std::bad_function_call has its helper beside its
// class in the library and stays the library's.)

#include <bits/functexcept.h>
#include <exception>
#include <new>

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}

void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}

void __throw_length_error(const char*) {
    terminate();
}

void __throw_logic_error(const char*) {
    terminate();
}

void __throw_out_of_range_fmt(const char*, ...) {
    terminate();
}

} // namespace std

#pragma once
// The program's one error type: a run-time error number with its description.
// Platform operations throw it; routines that trap errors catch it.

#include <cstdint>
#include <exception>
#include <string>

namespace kolvek {

// Run-time error numbers the program raises or maps platform failures to.
namespace err {
constexpr std::int32_t InvalidArgument = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t OutOfMemory = 7;
// Any other failure of the program itself.
constexpr std::int32_t InternalError = 51;
constexpr std::int32_t BadFileName = 52;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t DeviceIoError = 57;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t DeviceUnavailable = 68;
constexpr std::int32_t PermissionDenied = 70;
constexpr std::int32_t DiskNotReady = 71;
constexpr std::int32_t PathFileAccessError = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t BrokenSettingsFile = 401;
// The shell wrapper's own error for an empty source list.
constexpr std::int32_t NoSourceFiles = static_cast<std::int32_t>(0x800403E8u);
} // namespace err

// Derived from std::exception directly: the standard library's string-holding
// exception classes would bring a second string implementation of their own
// into a statically linked program.
class RuntimeError : public std::exception {
public:
    // Uses the standard description of `number` (see StandardDescription).
    explicit RuntimeError(std::int32_t number);
    RuntimeError(std::int32_t number, std::string description);

    std::int32_t Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    std::int32_t number_;
    std::string description_;
};

// The user-facing (German) description of a run-time error number; a generic
// text naming the number for numbers without one.
std::string StandardDescription(std::int32_t number);

// Decimal text of `value` behind one blank; a negative value puts its minus
// sign in the blank's place (" 5", "-3").
std::string NumberWithSignBlank(std::int32_t value);

} // namespace kolvek

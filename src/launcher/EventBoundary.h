#pragma once
// Where an error that no routine trapped ends up: the generic report of an
// unhandled error, then the end of the program.

#include "platform/Platform.h"

#include <cstdint>
#include <functional>

namespace kolvek {

// Shows "Laufzeitfehler <number>: <description>" (critical icon, title
// "KOLVEK") and ends the program. The report itself cannot fail: when there
// is no memory left to build or show it, the fixed report of lack of memory
// is shown instead.
[[noreturn]] void ReportUnhandledError(Platform& platform, const RuntimeError& error);
// The same for `number` with its standard description.
[[noreturn]] void ReportUnhandledError(Platform& platform, std::int32_t number);

// Runs one event handler; an exception escaping it is reported as above: a
// RuntimeError as it is, lack of memory as 7, any other std::exception as 51.
void RunEventHandler(Platform& platform, const std::function<void()>& handler);

} // namespace kolvek

#include "launcher/EventBoundary.h"

#include <cstdlib>
#include <exception>
#include <new>

namespace kolvek {

void ReportUnhandledError(Platform& platform, const RuntimeError& error) {
    platform.ui.ShowMessage("Laufzeitfehler " + std::to_string(error.Number()) + ": " +
                                error.Description(),
                            mb::Critical, "KOLVEK");
    platform.process.EndProgram();
    std::abort(); // not reached: EndProgram does not come back
}

void RunEventHandler(Platform& platform, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        ReportUnhandledError(platform, error);
    } catch (const std::bad_alloc&) {
        ReportUnhandledError(platform, RuntimeError(err::OutOfMemory));
    } catch (const std::exception&) {
        // out_of_range, length_error, system_error, ...: a fault of the
        // program itself, with no description fit for the user.
        ReportUnhandledError(platform, RuntimeError(err::InternalError));
    }
}

} // namespace kolvek

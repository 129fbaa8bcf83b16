#include "launcher/EventBoundary.h"

#include <cstdlib>
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
    }
}

} // namespace kolvek

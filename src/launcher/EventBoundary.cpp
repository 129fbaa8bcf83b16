#include "launcher/EventBoundary.h"

#include <cstdlib>
#include <exception>
#include <new>

namespace kolvek {

namespace {

// Shown as it stands when the report cannot be built: it needs no memory.
const char kOutOfMemoryReport[] = "Laufzeitfehler 7: Nicht genügend Speicher";
const char kReportTitle[] = "KOLVEK";

// `description` is null for the number's standard description.
void ShowReport(Platform& platform, std::int32_t number, const std::string* description) {
    try {
        platform.ui.ShowMessage(
            "Laufzeitfehler " + std::to_string(number) + ": " +
                (description != nullptr ? *description : StandardDescription(number)),
            mb::Critical, kReportTitle);
    } catch (...) {
        platform.ui.ShowFixedMessage(kOutOfMemoryReport, mb::Critical, kReportTitle);
    }
}

[[noreturn]] void EndProgram(Platform& platform) {
    platform.process.EndProgram();
    std::abort(); // not reached: EndProgram does not come back
}

} // namespace

void ReportUnhandledError(Platform& platform, const RuntimeError& error) {
    ShowReport(platform, error.Number(), &error.Description());
    EndProgram(platform);
}

void ReportUnhandledError(Platform& platform, std::int32_t number) {
    ShowReport(platform, number, nullptr);
    EndProgram(platform);
}

void RunEventHandler(Platform& platform, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        ReportUnhandledError(platform, error);
    } catch (const std::bad_alloc&) {
        ReportUnhandledError(platform, err::OutOfMemory);
    } catch (const std::exception&) {
        // out_of_range, length_error, system_error, ...: a fault of the
        // program itself, with no description fit for the user.
        ReportUnhandledError(platform, err::InternalError);
    }
}

} // namespace kolvek

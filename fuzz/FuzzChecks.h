#pragma once
// Shared by the fuzz targets: a check that stops the run with a message,
// well-formed UTF-8 from raw bytes, and reading back the launch script.

#include <string>
#include <vector>

namespace kolvek::fuzz {

// Prints `what` and aborts, so that libFuzzer keeps the input as a finding.
[[noreturn]] void Fail(const char* what, const std::string& detail);

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::kolvek::fuzz::Fail(#condition, (detail));                                            \
    } while (false)

// The well-formed UTF-8 sequences of `bytes`, in order; every other byte is
// dropped. Text from the dialog's controls is always well-formed.
std::string WellFormedUtf8(const std::string& bytes);

// A file's lines as written (each ended by CR LF); false when the bytes do not
// end with CR LF or hold a CR or LF outside a line end.
bool SplitWrittenLines(const std::string& bytes, std::vector<std::string>& lines);

// True when the batch line holds & | < > or ^ that cmd.exe would act on
// rather than take literally: each must come behind a ^ that is not itself
// escaped. A ^ at the very end counts as unescaped too.
bool HasUnescapedCommandCharacter(const std::string& line);

// True when a run of % in the line has odd length: cmd.exe would read a
// variable reference there instead of a literal percent sign.
bool HasLonePercent(const std::string& line);

} // namespace kolvek::fuzz

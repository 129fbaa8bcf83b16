// The registry reader against a registry that answers from the input: for
// every call the result code, the value type, the declared size, the byte
// count it reports and the data. Several queries run on one instance, so the
// properties that a query must leave alone are checked too.

#include "FuzzChecks.h"

#include "fake/FakePlatform.h"
#include "registry/WinRegQuery.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using namespace kolvek;

// A result code: mostly success, sometimes one of the usual failures, now and
// then anything at all.
std::int32_t PickResult(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 8)) {
    case 0:
        return 2;
    case 1:
        return 6;
    case 2:
        return 234;
    case 3:
        return in.ConsumeIntegral<std::int32_t>();
    case 4:
        return 5;
    default:
        return 0;
    }
}

std::uint32_t PickSize(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return in.ConsumeIntegral<std::uint32_t>();
    case 1:
        return in.ConsumeIntegralInRange<std::uint32_t>(32760, 32780);
    default:
        return in.ConsumeIntegralInRange<std::uint32_t>(0, 16);
    }
}

class ScriptedRegistry : public Registry {
public:
    explicit ScriptedRegistry(FuzzedDataProvider& in) : in_(in) {}

    std::int32_t OpenKeyEx(std::int32_t, const std::string&, std::uint32_t, std::uint32_t access,
                           RegKeyHandle* key) override {
        // First for reading and writing; for reading alone only once that
        // was refused with access denied.
        const bool second = opens == 1;
        FUZZ_CHECK(opens < 2, "the key was opened more than twice");
        FUZZ_CHECK(second ? (firstRefused && access == 0x1) : access == 0x3F,
                   "opened with access " + std::to_string(access));
        const std::int32_t rc = PickResult(in_);
        if (rc == 0)
            *key = ++lastHandle;
        if (!second)
            firstRefused = rc == 5;
        ++opens;
        return rc;
    }

    std::int32_t QueryValueEx(RegKeyHandle, const std::string&, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) override {
        const std::int32_t rc = PickResult(in_);
        *type = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<std::uint32_t>(0, 5)
                                  : in_.ConsumeIntegral<std::uint32_t>();
        const std::uint32_t capacity = *size;
        if (data == nullptr) {
            *size = PickSize(in_);
            lastDeclared = *size;
            lastDeclaredType = *type;
            return rc;
        }
        // Never more than the buffer holds, as the platform promises; the
        // count it reports back may still be anything.
        const std::string bytes = in_.ConsumeBytesAsString(std::min<std::uint32_t>(capacity, 64));
        std::memcpy(data, bytes.data(), bytes.size());
        *size = in_.ConsumeBool() ? static_cast<std::uint32_t>(bytes.size()) : PickSize(in_);
        lastReported = *size;
        lastData.assign(bytes);
        lastDataRc = rc;
        ++dataReads;
        return rc;
    }

    std::int32_t CloseKey(RegKeyHandle key) override {
        FUZZ_CHECK(key == 0 || key == lastHandle, "a key was closed that this query did not open");
        FUZZ_CHECK(opens == (firstRefused ? 2 : 1), "closed before the opens were done");
        ++closes;
        return 0;
    }

    RegKeyHandle lastHandle = 0;
    std::uint32_t lastDeclared = 0;
    std::uint32_t lastDeclaredType = 0;
    std::uint32_t lastReported = 0;
    std::string lastData;
    std::int32_t lastDataRc = 0;
    int opens = 0; // in the current query
    bool firstRefused = false;
    int closes = 0;
    int dataReads = 0;

private:
    FuzzedDataProvider& in_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    fake::FakePlatform fp;
    ScriptedRegistry registry(in);
    Platform platform{fp.files, registry, fp.shell, fp.ui, fp.process, fp.codec, fp.text};
    WinRegQuery query(platform);
    query.Preset();

    for (int round = 0; round < 6 && in.remaining_bytes() > 0; ++round) {
        query.ShowErrorMsg(in.ConsumeBool());
        const std::string sz = query.Registry_REG_SZ();
        const std::int32_t dword = query.Registry_REG_DWORD();
        const std::int32_t binary = query.Registry_REG_BINARY();
        const std::int16_t bytes = query.Registry_REG_BYTES();
        const int readsBefore = registry.dataReads;
        const std::size_t boxesBefore = fp.ui.boxes.size();
        const int closesBefore = registry.closes;
        registry.opens = 0;
        registry.firstRefused = false;

        query.QueryRegistryValue();

        const std::int32_t answer = query.Registry_Answertype();
        const bool dataRead = registry.dataReads != readsBefore;
        FUZZ_CHECK(answer == 0 || answer == 1 || answer == 3 || answer == 4 || answer == 9,
                   std::to_string(answer));
        FUZZ_CHECK((query.ErrorRuntime() == 0) == (answer != 9),
                   std::to_string(query.ErrorRuntime()));
        FUZZ_CHECK(answer == 9 || query.ErrorRegQuery() == 0, "success with a failure code");
        FUZZ_CHECK(registry.closes == closesBefore + 1, "the query closed no key or several");
        FUZZ_CHECK(query.Registry_HKEY() == kHKeyLocalMachine, "the query changed the location");

        const std::size_t newBoxes = fp.ui.boxes.size() - boxesBefore;
        FUZZ_CHECK(newBoxes == (answer == 9 && query.ShowErrorMsg() ? 1u : 0u), "message count");
        if (newBoxes == 1) {
            FUZZ_CHECK(fp.ui.boxes.back().title == "Varno SubSystem Error" &&
                           fp.ui.boxes.back().style == 16,
                       fp.ui.boxes.back().title);
            FUZZ_CHECK(fp.ui.boxes.back().prompt.rfind(
                           "Fehler" + NumberWithSignBlank(query.ErrorRuntime()) +
                               " beim Lesen der Registry. ",
                           0) == 0,
                       fp.ui.boxes.back().prompt);
        }

        // Only a read of its own kind writes a result property.
        if (answer != 1)
            FUZZ_CHECK(query.Registry_REG_SZ() == sz, "REG_SZ changed by another kind of read");
        if (answer != 4)
            FUZZ_CHECK(query.Registry_REG_DWORD() == dword, "REG_DWORD changed");
        if (answer != 3)
            FUZZ_CHECK(query.Registry_REG_BINARY() == binary, "REG_BINARY changed");

        // REG_BYTES follows the binary read's reported count, also when that
        // read itself failed, unless the count overflows 16 bits.
        if (dataRead && registry.lastDeclaredType == kRegBinary) {
            if (registry.lastReported > 32767) {
                FUZZ_CHECK(answer == 9 && query.ErrorRuntime() == err::Overflow,
                           "a binary length above 32767 accepted");
                FUZZ_CHECK(query.Registry_REG_BYTES() == bytes, "an overflowing count was stored");
            } else {
                FUZZ_CHECK(query.Registry_REG_BYTES() ==
                               static_cast<std::int16_t>(registry.lastReported),
                           std::to_string(query.Registry_REG_BYTES()));
                FUZZ_CHECK(answer == (registry.lastDataRc == 0 ? 3 : 9), std::to_string(answer));
            }
        } else {
            FUZZ_CHECK(query.Registry_REG_BYTES() == bytes, "REG_BYTES changed without a read");
        }
        if (answer == 3) {
            // The low bytes hold the data, first byte lowest.
            const std::uint32_t value = static_cast<std::uint32_t>(query.Registry_REG_BINARY());
            const std::size_t n = std::min<std::size_t>(
                {registry.lastData.size(), registry.lastReported, std::size_t{4}});
            for (std::size_t i = 0; i < n; ++i)
                FUZZ_CHECK(((value >> (8 * i)) & 0xFF) ==
                               static_cast<unsigned char>(registry.lastData[i]),
                           "binary byte " + std::to_string(i));
        }
        if (answer == 1) {
            // Exactly the terminating character is dropped.
            FUZZ_CHECK(registry.lastReported >= 1 && registry.lastReported <= registry.lastDeclared,
                       "a string read trusted a bad count");
            const std::string expected = fp.codec.ToUtf8(
                std::string(registry.lastData.substr(0, registry.lastReported - 1)) +
                    std::string(registry.lastReported - 1 -
                                    std::min<std::size_t>(registry.lastReported - 1,
                                                          registry.lastData.size()),
                                '\0'),
                CodePage::Ansi);
            FUZZ_CHECK(query.Registry_REG_SZ() == expected, query.Registry_REG_SZ());
        }
    }
    return 0;
}

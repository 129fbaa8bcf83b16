#include "registry/WinRegQuery.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kolvek {

namespace {

constexpr std::uint32_t kAccessReadWrite = 0x3F;
constexpr std::uint32_t kAccessQueryValue = 0x0001;
constexpr std::int32_t kAccessDenied = 5;
// Larger data is refused as lack of memory instead of being allocated.
constexpr std::uint32_t kMaxValueBytes = 64u * 1024 * 1024;
// A binary read that is longer than a 16-bit count overflows anyway, so it
// never needs more buffer than that to report its length.
constexpr std::uint32_t kMaxBinaryBuffer = 65536;

RuntimeError QueryFailed(std::int32_t rc) {
    return RuntimeError(err::InvalidArgument,
                        "Meldung" + NumberWithSignBlank(rc) + " von RegQueryValueExNULL.");
}

// Copies at most four bytes, lowest first, into `target`; its other bytes keep
// their contents.
void CopyLowBytes(std::int32_t& target, const std::vector<std::uint8_t>& data, std::uint32_t n) {
    std::uint32_t value = static_cast<std::uint32_t>(target);
    const std::uint32_t count = std::min<std::uint32_t>(n, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        value &= ~(0xFFu << (8 * i));
        value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    }
    target = static_cast<std::int32_t>(value);
}

} // namespace

void WinRegQuery::Preset() {
    hkey_ = kHKeyLocalMachine;
    path_ = "SOFTWARE\\Activision\\Star Trek Armada II\\v1.0";
    item_ = "INSTALLPATH";
    showErrorMsg_ = false;
}

void WinRegQuery::QueryRegistryValue() {
    RegKeyHandle key = 0;
    // A failed open leaves the handle 0; the value query then reports it.
    if (platform_.registry.OpenKeyEx(hkey_, path_, 0, kAccessReadWrite, &key) == kAccessDenied) {
        // Reading is all the query needs, and all a standard user may do
        // below HKEY_LOCAL_MACHINE\SOFTWARE.
        key = 0;
        platform_.registry.OpenKeyEx(hkey_, path_, 0, kAccessQueryValue, &key);
    }
    answerType_ = QueryKeyValue(key);
    platform_.registry.CloseKey(key);
}

std::int32_t WinRegQuery::QueryKeyValue(RegKeyHandle key) {
    Registry& registry = platform_.registry;
    std::int32_t rc = 0;
    try {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        rc = registry.QueryValueEx(key, item_, &type, nullptr, &size);
        if (rc != 0)
            throw QueryFailed(rc);
        if (size > kMaxValueBytes)
            throw RuntimeError(err::OutOfMemory);

        std::int32_t answer = kAnswerOtherType;
        switch (type) {
        case kRegSz: {
            // One spare zero byte, so data stored without its terminator is
            // never read past its end.
            std::vector<std::uint8_t> buffer(size + 1, 0);
            std::uint32_t n = size;
            rc = registry.QueryValueEx(key, item_, &type, buffer.data(), &n);
            if (rc != 0)
                throw QueryFailed(rc);
            if (n == 0 || n > size)
                throw RuntimeError(err::InvalidArgument);
            // Exactly one character, the terminating zero, is dropped.
            const std::string ansi(reinterpret_cast<const char*>(buffer.data()), n - 1);
            regSz_ = platform_.codec.ToUtf8(ansi, CodePage::Ansi);
            answer = kAnswerString;
            break;
        }
        case kRegBinary: {
            std::uint32_t n = std::min(size, kMaxBinaryBuffer);
            std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(n, 4), 0);
            rc = registry.QueryValueEx(key, item_, &type, buffer.data(), &n);
            if (n > 32767)
                throw RuntimeError(err::Overflow);
            regBytes_ = static_cast<std::int16_t>(n);
            if (rc != 0)
                throw QueryFailed(rc);
            // Longer data is cut to its first four bytes.
            CopyLowBytes(regBinary_, buffer, std::min<std::uint32_t>(n, buffer.size()));
            answer = kAnswerBinary;
            break;
        }
        case kRegDword: {
            std::uint32_t n = size;
            std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(n, 4), 0);
            rc = registry.QueryValueEx(key, item_, &type, buffer.data(), &n);
            if (rc != 0)
                throw QueryFailed(rc);
            CopyLowBytes(regDword_, buffer, std::min<std::uint32_t>(n, buffer.size()));
            answer = kAnswerDword;
            break;
        }
        default:
            break;
        }
        errorRuntime_ = 0;
        errorRegQuery_ = rc;
        return answer;
    } catch (const RuntimeError& error) {
        if (showErrorMsg_) {
            platform_.ui.ShowMessage("Fehler" + NumberWithSignBlank(error.Number()) +
                                         " beim Lesen der Registry. " + error.Description(),
                                     mb::Critical, "Varno SubSystem Error");
        }
        errorRuntime_ = error.Number();
        errorRegQuery_ = rc;
        return kAnswerFailed;
    }
}

} // namespace kolvek

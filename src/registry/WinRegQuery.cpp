#include "registry/WinRegQuery.h"

#include "registry/RegistryKey.h"

#include <algorithm>
#include <vector>

namespace kolvek {

namespace {

constexpr std::uint32_t kAccessReadWrite = 0x3F;
constexpr std::uint32_t kAccessQueryValue = 0x0001;
constexpr std::int32_t kAccessDenied = 5;
// Larger data is refused as lack of memory instead of being allocated.
constexpr std::uint32_t kMaxValueBytes = 64u * 1024 * 1024;
// A binary value's length must fit REG_BYTES, a 16-bit signed count.
constexpr std::uint32_t kMaxBinaryCount = 32767;
// A longer binary value overflows that count anyway, so its read never needs
// more buffer than this to learn its length.
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
    RegistryKey key(platform_.registry);
    if (key.Open(hkey_, path_, kAccessReadWrite) == kAccessDenied) {
        // Reading is all the query needs, and all a standard user may do
        // below HKEY_LOCAL_MACHINE\SOFTWARE.
        key.Open(hkey_, path_, kAccessQueryValue);
    }
    // A failed open leaves the handle 0; the value query then reports it.
    answerType_ = QueryKeyValue(key.Handle());
}

std::int32_t WinRegQuery::QueryKeyValue(RegKeyHandle key) {
    std::int32_t rc = 0;
    try {
        std::uint32_t type = 0;
        const std::uint32_t size = QueryDataSize(key, type, rc);
        std::int32_t answer = kAnswerOtherType;
        switch (type) {
        case kRegSz:
            ReadString(key, type, size, rc);
            answer = kAnswerString;
            break;
        case kRegBinary:
            ReadBinary(key, type, size, rc);
            answer = kAnswerBinary;
            break;
        case kRegDword:
            ReadDword(key, type, size, rc);
            answer = kAnswerDword;
            break;
        default:
            break;
        }
        errorRuntime_ = 0;
        errorRegQuery_ = rc;
        return answer;
    } catch (const RuntimeError& error) {
        Report(error);
        errorRuntime_ = error.Number();
        errorRegQuery_ = rc;
        return kAnswerFailed;
    }
}

std::uint32_t WinRegQuery::QueryDataSize(RegKeyHandle key, std::uint32_t& type, std::int32_t& rc) {
    std::uint32_t size = 0;
    rc = platform_.registry.QueryValueEx(key, item_, &type, nullptr, &size);
    if (rc != 0)
        throw QueryFailed(rc);
    if (size > kMaxValueBytes)
        throw RuntimeError(err::OutOfMemory);
    return size;
}

void WinRegQuery::ReadString(RegKeyHandle key, std::uint32_t type, std::uint32_t size,
                             std::int32_t& rc) {
    // One spare zero byte, so data stored without its terminator is never
    // read past its end.
    std::vector<std::uint8_t> buffer(size + 1, 0);
    std::uint32_t n = size;
    rc = platform_.registry.QueryValueEx(key, item_, &type, buffer.data(), &n);
    if (rc != 0)
        throw QueryFailed(rc);
    // A count of 0 leaves no terminator to drop; one beyond the buffer cannot
    // be trusted.
    if (n == 0 || n > size)
        throw RuntimeError(err::InvalidArgument);
    // Exactly one character, the terminating zero, is dropped.
    const std::string ansi(reinterpret_cast<const char*>(buffer.data()), n - 1);
    regSz_ = platform_.codec.ToUtf8(ansi, CodePage::Ansi);
}

void WinRegQuery::ReadBinary(RegKeyHandle key, std::uint32_t type, std::uint32_t size,
                             std::int32_t& rc) {
    std::uint32_t n = std::min(size, kMaxBinaryBuffer);
    std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(n, 4), 0);
    rc = platform_.registry.QueryValueEx(key, item_, &type, buffer.data(), &n);
    // The length is reported even by a failed read (too short a buffer
    // answers the whole length), unless it overflows its count.
    if (n > kMaxBinaryCount)
        throw RuntimeError(err::Overflow);
    regBytes_ = static_cast<std::int16_t>(n);
    if (rc != 0)
        throw QueryFailed(rc);
    // Longer data is cut to its first four bytes.
    CopyLowBytes(regBinary_, buffer, std::min<std::uint32_t>(n, buffer.size()));
}

void WinRegQuery::ReadDword(RegKeyHandle key, std::uint32_t type, std::uint32_t size,
                            std::int32_t& rc) {
    std::uint32_t n = size;
    std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(n, 4), 0);
    rc = platform_.registry.QueryValueEx(key, item_, &type, buffer.data(), &n);
    if (rc != 0)
        throw QueryFailed(rc);
    CopyLowBytes(regDword_, buffer, std::min<std::uint32_t>(n, buffer.size()));
}

void WinRegQuery::Report(const RuntimeError& error) {
    if (!showErrorMsg_)
        return;
    platform_.ui.ShowMessage("Fehler" + NumberWithSignBlank(error.Number()) +
                                 " beim Lesen der Registry. " + error.Description(),
                             mb::Critical, "Varno SubSystem Error");
}

} // namespace kolvek

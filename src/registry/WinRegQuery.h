#pragma once
// Reads one value from the registry. A query traps every RuntimeError: its
// outcome is in Registry_Answertype, ErrorRuntime and ErrorRegQuery, and in a
// message box when ShowErrorMsg is set.

#include "platform/Platform.h"

#include <cstdint>
#include <string>

namespace kolvek {

class WinRegQuery {
public:
    // Answer types: the platform's value types, 9 for a failed query.
    static constexpr std::int32_t kAnswerOtherType = 0;
    static constexpr std::int32_t kAnswerString = 1;
    static constexpr std::int32_t kAnswerBinary = 3;
    static constexpr std::int32_t kAnswerDword = 4;
    static constexpr std::int32_t kAnswerFailed = 9;

    explicit WinRegQuery(Platform& platform) : platform_(platform) {}

    void Registry_HKEY(std::int32_t lnKey) { hkey_ = lnKey; }
    std::int32_t Registry_HKEY() const { return hkey_; }
    void Registry_PATH(const std::string& strPath) { path_ = strPath; }
    std::string Registry_PATH() const { return path_; }
    void Registry_ITEM(const std::string& strItem) { item_ = strItem; }
    std::string Registry_ITEM() const { return item_; }
    void ShowErrorMsg(bool bShow) { showErrorMsg_ = bShow; }
    bool ShowErrorMsg() const { return showErrorMsg_; }

    std::int32_t Registry_Answertype() const { return answerType_; }
    std::string Registry_REG_SZ() const { return regSz_; }
    std::int32_t Registry_REG_DWORD() const { return regDword_; }
    std::int32_t Registry_REG_BINARY() const { return regBinary_; }
    std::int16_t Registry_REG_BYTES() const { return regBytes_; }
    std::int32_t ErrorRuntime() const { return errorRuntime_; }
    std::int32_t ErrorRegQuery() const { return errorRegQuery_; }

    // Reads the value named by the three location properties. The key is
    // opened for reading and writing (0x3F); only when that is refused with
    // access denied (5), as HKEY_LOCAL_MACHINE refuses a standard user, is it
    // opened once more for reading alone. A lack of memory (std::bad_alloc)
    // passes to the caller; the key is closed either way.
    void QueryRegistryValue();
    // Points the reader at the game's INSTALLPATH value and turns messages off.
    void Preset();

private:
    // Reads the value from an open key (or the zero handle, which the query
    // then reports) and answers the answer type; traps every RuntimeError.
    std::int32_t QueryKeyValue(RegKeyHandle key);
    // The steps of one read. Each leaves the registry's latest result code in
    // `rc`, which ErrorRegQuery reports even when a later check fails, and
    // throws RuntimeError when its part fails.
    std::uint32_t QueryDataSize(RegKeyHandle key, std::uint32_t& type, std::int32_t& rc);
    void ReadString(RegKeyHandle key, std::uint32_t type, std::uint32_t size, std::int32_t& rc);
    void ReadBinary(RegKeyHandle key, std::uint32_t type, std::uint32_t size, std::int32_t& rc);
    void ReadDword(RegKeyHandle key, std::uint32_t type, std::uint32_t size, std::int32_t& rc);
    void Report(const RuntimeError& error);

    Platform& platform_;
    std::int32_t hkey_ = 0;
    std::string path_;
    std::string item_;
    bool showErrorMsg_ = false;
    std::int32_t answerType_ = 0;
    std::string regSz_;
    std::int32_t regDword_ = 0;
    std::int32_t regBinary_ = 0;
    std::int16_t regBytes_ = 0;
    std::int32_t errorRuntime_ = 0;
    std::int32_t errorRegQuery_ = 0;
};

} // namespace kolvek

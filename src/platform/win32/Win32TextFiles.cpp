#include "platform/win32/Win32TextFiles.h"

#include "platform/win32/Win32Errors.h"
#include "platform/win32/Win32Text.h"

#include <algorithm>

namespace kolvek {

namespace {
constexpr DWORD kChunkSize = 64 * 1024;
constexpr std::size_t kWriteThreshold = 64 * 1024;
} // namespace

bool Win32TextInput::ReadLine(std::string& line) {
    if (!file_.Valid())
        throw RuntimeError(err::BadFileName);
    std::string raw;
    while (!lines_.Next(raw)) {
        if (atEnd_)
            return false;
        char buffer[kChunkSize];
        DWORD read = 0;
        if (!::ReadFile(file_.Get(), buffer, kChunkSize, &read, nullptr))
            ThrowLastError();
        if (read == 0) {
            atEnd_ = true;
            lines_.Finish();
        } else {
            lines_.Feed(buffer, read);
        }
    }
    line = lines_.LinesAreUtf8() ? raw : BytesToUtf8(raw, CP_ACP);
    return true;
}

Win32TextOutput::~Win32TextOutput() {
    if (!file_.Valid())
        return;
    try {
        WritePending();
    } catch (const RuntimeError&) {
        // Nothing to report to from here; the bytes written so far stay.
    }
}

void Win32TextOutput::WriteLine(const std::string& utf8) {
    if (!file_.Valid())
        throw RuntimeError(err::BadFileName);
    pending_ += Utf8ToBytes(utf8, codePage_);
    pending_ += "\r\n";
    if (pending_.size() >= kWriteThreshold)
        WritePending();
}

void Win32TextOutput::Close() {
    if (!file_.Valid())
        return;
    WritePending();
    if (!file_.Reset())
        ThrowLastError();
}

void Win32TextOutput::WritePending() {
    std::size_t done = 0;
    while (done < pending_.size()) {
        const DWORD piece =
            static_cast<DWORD>(std::min<std::size_t>(pending_.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file_.Get(), pending_.data() + done, piece, &written, nullptr)) {
            pending_.erase(0, done);
            ThrowLastError();
        }
        if (written == 0) {
            pending_.erase(0, done);
            ThrowWin32Error(ERROR_DISK_FULL);
        }
        done += written;
    }
    pending_.clear();
}

} // namespace kolvek

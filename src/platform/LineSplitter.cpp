#include "platform/LineSplitter.h"

#include "platform/TextFileEncoding.h"

namespace kolvek {

void LineSplitter::Feed(const char* data, std::size_t size) {
    text_.append(data, size);
}

void LineSplitter::Finish() {
    if (finished_)
        return;
    DecodedText decoded = DecodeTextFile(std::move(text_));
    text_ = std::move(decoded.text);
    utf8_ = decoded.utf8;
    finished_ = true;
}

bool LineSplitter::Next(std::string& line) {
    if (!finished_ || start_ >= text_.size())
        return false;
    const std::size_t cr = text_.find('\r', start_);
    if (cr == std::string::npos) {
        line.assign(text_, start_, std::string::npos);
        start_ = text_.size();
        return true;
    }
    std::size_t next = cr + 1;
    if (next < text_.size() && text_[next] == '\n')
        ++next;
    line.assign(text_, start_, cr - start_);
    start_ = next;
    return true;
}

} // namespace kolvek

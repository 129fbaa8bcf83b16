#include "platform/LineSplitter.h"

namespace kolvek {

namespace {
constexpr char kBom[] = "\xEF\xBB\xBF";
}

void LineSplitter::Feed(const char* data, std::size_t size) {
    if (start_ > 0 && start_ >= pending_.size() / 2) {
        pending_.erase(0, start_);
        start_ = 0;
    }
    pending_.append(data, size);
}

void LineSplitter::Finish() {
    finished_ = true;
}

bool LineSplitter::Next(std::string& line) {
    if (bom_ == Bom::Undecided) {
        if (pending_.size() < 3 && !finished_)
            return false;
        if (pending_.compare(0, 3, kBom) == 0) {
            bom_ = Bom::Present;
            start_ = 3;
        } else {
            bom_ = Bom::Absent;
        }
    }
    const std::size_t cr = pending_.find('\r', start_);
    if (cr == std::string::npos) {
        if (!finished_ || start_ >= pending_.size())
            return false;
        line.assign(pending_, start_, std::string::npos);
        start_ = pending_.size();
        return true;
    }
    std::size_t next = cr + 1;
    if (next == pending_.size()) {
        // A CR at the end of what we have: an LF may still follow.
        if (!finished_)
            return false;
    } else if (pending_[next] == '\n') {
        ++next;
    }
    line.assign(pending_, start_, cr - start_);
    start_ = next;
    return true;
}

} // namespace kolvek

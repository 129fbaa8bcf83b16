#pragma once
// Splitting file bytes into lines the way the settings file is read: a line
// ends at CR LF or at a lone CR; a lone LF stays in the line; the last line
// needs no ending. Shared by every FileSystem implementation.

#include <cstddef>
#include <string>

namespace kolvek {

class LineSplitter {
public:
    // Feeds the next chunk of the file.
    void Feed(const char* data, std::size_t size);
    // Marks the end of the file.
    void Finish();
    // Takes the next complete line; false when none is ready.
    bool Next(std::string& line);
    // True once the file started with the UTF-8 byte-order mark (skipped).
    bool HadUtf8Bom() const { return bom_ == Bom::Present; }

private:
    enum class Bom { Undecided, Present, Absent };
    std::string pending_;
    std::size_t start_ = 0;
    bool finished_ = false;
    Bom bom_ = Bom::Undecided;
};

} // namespace kolvek

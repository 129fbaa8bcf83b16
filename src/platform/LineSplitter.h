#pragma once
// Splitting a text file into lines the way the settings file is read: the
// whole file is taken in first, since how its bytes read depends on all of
// them (TextFileEncoding.h); then a line ends at CR LF or at a lone CR, a lone
// LF stays in the line, and the last line needs no ending. Shared by every
// FileSystem implementation.

#include <cstddef>
#include <string>

namespace kolvek {

class LineSplitter {
public:
    // Feeds the next chunk of the file.
    void Feed(const char* data, std::size_t size);
    // Marks the end of the file; the lines come after it.
    void Finish();
    // Takes the next line; false before Finish and after the last line.
    bool Next(std::string& line);
    // After Finish: true when the lines are UTF-8, false when they are bytes
    // in the ANSI code page.
    bool LinesAreUtf8() const { return utf8_; }

private:
    std::string text_;
    std::size_t start_ = 0;
    bool finished_ = false;
    bool utf8_ = false;
};

} // namespace kolvek

#pragma once
// The file system as the program sees it. Paths are UTF-8 in Windows form
// ("C:\dir\name"); names compare without regard to letter case.
// Every operation throws RuntimeError on failure.

#include "platform/TextCodec.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace kolvek {

// A text file opened for reading, line by line. A line ends at CR LF or at a
// lone CR; a lone LF is part of the line. The file reads as UTF-16 or UTF-8
// behind their byte-order marks, as UTF-8 when it is well-formed UTF-8 with a
// character beyond ASCII, and otherwise in the ANSI code page
// (TextFileEncoding.h).
class TextInput {
public:
    virtual ~TextInput() = default;
    // False at the end of the file; otherwise `line` holds the next line.
    virtual bool ReadLine(std::string& line) = 0;
    virtual void Close() = 0;
};

// A text file opened for writing; every line gets CR LF.
class TextOutput {
public:
    virtual ~TextOutput() = default;
    virtual void WriteLine(const std::string& utf8) = 0;
    // Flushes and closes; a failure to get the bytes to disk throws here.
    virtual void Close() = 0;
};

// A text file made by CreateUniqueText: where it is, and the stream to fill it.
struct NewTextFile {
    std::string path;
    std::unique_ptr<TextOutput> output;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::unique_ptr<TextInput> OpenText(const std::string& path) = 0;
    // Creates the file, or empties an existing one.
    virtual std::unique_ptr<TextOutput> CreateText(const std::string& path, CodePage page) = 0;
    // Moves `from` onto `to`, replacing `to` when it exists; a read-only,
    // hidden or system `to` is refused (75), as creating it anew would be.
    virtual void MoveOnto(const std::string& from, const std::string& to) = 0;
    virtual void RemoveFile(const std::string& path) = 0;

    // The name (without folder) of the first ordinary file matching `pattern`
    // (which may hold * and ?), as a directory listing reports it; empty when
    // none matches. Hidden and system files, folders and the volume label do
    // not count.
    virtual std::string FirstMatchingFile(const std::string& pattern) = 0;
    // The long names of all ordinary files in `folder`, in no particular order.
    // Throws 76 when the folder does not exist.
    virtual std::vector<std::string> ListFiles(const std::string& folder) = 0;

    // Creates a new, empty text file in `folder` named `prefix`, a part
    // made of hexadecimal digits and hyphens, and `extension`, under a name
    // that no earlier call, in this run or another, has given out. Never
    // opens or replaces a file that exists.
    virtual NewTextFile CreateUniqueText(const std::string& folder, const std::string& prefix,
                                         const std::string& extension, CodePage page) = 0;
    // True when `path` names an existing folder.
    virtual bool FolderExists(const std::string& path) = 0;
    // True when `path` names an existing file, whatever its attributes (a
    // hidden or system file too), and not a folder.
    virtual bool IsFile(const std::string& path) = 0;
    // Creates the folder `path` in an existing folder; does nothing when the
    // folder exists. Throws when it cannot be made (a file of that name, say).
    virtual void CreateFolder(const std::string& path) = 0;
    // The existing file or folder `path` with each of its parts written by its
    // short (8.3) name where it has one; parts without one, and every part on
    // a volume that keeps no short names, stay as they are. Throws when the
    // path does not exist.
    virtual std::string ShortPath(const std::string& path) = 0;
    // `path` with each of its parts written by its long name; `path` itself
    // when it cannot be looked up.
    virtual std::string LongPath(const std::string& path) = 0;
    // How long ago the file `path` was last written; negative when that time
    // lies ahead of the system's clock.
    virtual std::chrono::milliseconds TimeSinceWritten(const std::string& path) = 0;
};

} // namespace kolvek

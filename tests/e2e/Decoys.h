#pragma once
// What the hostile end-to-end tests need besides the installation: decoys,
// programs that must never run, and a record of the files that must survive;
// and map files with names that Windows forbids, made on the Linux side of
// Wine, where nothing forbids them.

#include "E2ESupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {

// A copy of the stand-in game at `path`, which leaves `path` + ".ran" when it
// runs. Removed with its mark at the end, so
// that decoys can stand outside an installation too (C:\Sp.exe).
class Decoy {
public:
    explicit Decoy(std::wstring path);
    ~Decoy();
    Decoy(const Decoy&) = delete;
    Decoy& operator=(const Decoy&) = delete;
    Decoy(Decoy&& other) noexcept;
    bool Ran() const;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// True when no decoy ran; names those that did.
::testing::AssertionResult NoDecoyRan(const std::vector<Decoy>& decoys);

// Every file below `folder`, with its full path.
std::vector<std::wstring> FilesBelow(const std::wstring& folder);
// The files below a folder at one moment, to tell which went afterwards.
class FileSnapshot {
public:
    explicit FileSnapshot(std::wstring root);
    // The files of the snapshot that are gone now, apart from those in
    // `mapFolder` (which the program may empty on the user's word), unless
    // that is empty.
    std::vector<std::wstring> DeletedOutside(const std::wstring& mapFolder) const;

private:
    std::wstring root_;
    std::vector<std::wstring> files_;
};

// Empty files named by `names` (raw bytes: line feeds, quotes, | < > * ?,
// bytes that are no UTF-8) in `folder`, made and at the end removed through
// /bin/sh, which Wine runs as a Unix program.
class UnixSideFiles {
public:
    UnixSideFiles(const std::wstring& folder, std::vector<std::string> names);
    ~UnixSideFiles();
    UnixSideFiles(const UnixSideFiles&) = delete;
    UnixSideFiles& operator=(const UnixSideFiles&) = delete;

private:
    // Runs `command` for every name (as "xargs -0 command") and waits for it.
    void ForEachName(const char* command);

    std::wstring folder_;
    std::string unixFolder_;
    std::vector<std::string> names_;
};

} // namespace e2e

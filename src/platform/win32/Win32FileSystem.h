#pragma once
// The seam's file system on the W functions of kernel32. UTF-8 paths become
// UTF-16 here; failures become RuntimeError through Win32Errors.

#include "platform/FileSystem.h"

namespace kolvek {

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<TextInput> OpenText(const std::string& path) override;
    std::unique_ptr<TextOutput> CreateText(const std::string& path, CodePage page) override;
    void MoveOnto(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
    // Missing files and a missing folder both mean "none" (empty text), as
    // in a directory listing; an empty pattern also answers empty. Malformed
    // names, drives that are not ready or do not exist (68) and other real
    // failures throw.
    std::string FirstMatchingFile(const std::string& pattern) override;
    std::vector<std::string> ListFiles(const std::string& folder) override;
    // Named prefix, process id, time and a counter in hexadecimal, extension.
    NewTextFile CreateUniqueText(const std::string& folder, const std::string& prefix,
                                 const std::string& extension, CodePage page) override;
    bool FolderExists(const std::string& path) override;
    bool IsFile(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    // Through GetShortPathNameW.
    std::string ShortPath(const std::string& path) override;
    // Through GetLongPathNameW.
    std::string LongPath(const std::string& path) override;
    // The last write time from GetFileAttributesExW against
    // GetSystemTimeAsFileTime, both in UTC.
    std::chrono::milliseconds TimeSinceWritten(const std::string& path) override;
};

} // namespace kolvek

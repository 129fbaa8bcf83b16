#pragma once
// Sequential text files on Win32 file handles.

#include "platform/FileSystem.h"
#include "platform/LineSplitter.h"
#include "platform/win32/Win32Handles.h"

#include <string>

namespace kolvek {

// Reads the file in chunks and hands out its lines as UTF-8: decoded from the
// ANSI code page unless the file reads as UTF-16 or UTF-8
// (TextFileEncoding.h). A read failure throws RuntimeError.
class Win32TextInput : public TextInput {
public:
    explicit Win32TextInput(UniqueHandle file) : file_(std::move(file)) {}
    bool ReadLine(std::string& line) override;
    void Close() override { file_.Reset(); }

private:
    UniqueHandle file_;
    LineSplitter lines_;
    bool atEnd_ = false;
};

// Collects the encoded lines and writes them in larger pieces. Close() writes
// the rest and reports any failure; a file destroyed without Close() gets its
// remaining bytes on a best-effort basis, so a partly written file stays.
class Win32TextOutput : public TextOutput {
public:
    Win32TextOutput(UniqueHandle file, UINT codePage)
        : file_(std::move(file)), codePage_(codePage) {}
    ~Win32TextOutput() override;
    void WriteLine(const std::string& utf8) override;
    void Close() override;

private:
    void WritePending();

    UniqueHandle file_;
    UINT codePage_;
    std::string pending_;
};

} // namespace kolvek

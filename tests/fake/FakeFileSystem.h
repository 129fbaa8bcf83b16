#pragma once
// An in-memory file system that answers like Windows: names compare without
// regard to (ASCII) case, hidden and system files exist but a lookup skips them,
// files keep their raw bytes, and failures throw the run-time errors Windows
// failures map to. Faults can be injected per operation.

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kolvek::fake {

class FakeFileSystem : public FileSystem {
public:
    struct Entry {
        std::string path; // as created, for the reported name
        bool folder = false;
        bool hidden = false;
        bool system = false;
        bool readOnly = false; // a read-only file; for a folder: write-protected
        std::string shortName; // an 8.3 alias a lookup also matches
        std::string bytes;
        std::chrono::milliseconds written{}; // by the clock `now`
    };

    // An injected failure: operation `op` ("open", "read", "close-input",
    // "create", "write", "close", "replace", "remove", "find", "list",
    // "short", "mkdir", "age") on a path containing `pathPart` throws `number`.
    // `remaining` counts the matching calls still to pass before it fires.
    // Lack of memory (7) throws std::bad_alloc, as a failed allocation would.
    struct Fault {
        std::string op;
        std::string pathPart;
        std::int32_t number = err::PathFileAccessError;
        int remaining = 0;
        bool once = true;
    };

    explicit FakeFileSystem(const TextCodec& codec);

    // Set-up helpers; parent folders are created as needed.
    void AddFolder(const std::string& path);
    Entry& AddFile(const std::string& path, const std::string& bytes = std::string());
    void Fail(Fault fault) { faults_.push_back(std::move(fault)); }

    bool Exists(const std::string& path) const;
    // The file's raw bytes; throws when there is no such file.
    const std::string& Bytes(const std::string& path) const;
    Entry& At(const std::string& path);
    // Takes the entry out of the store, whatever its attributes.
    void Erase(const std::string& path);
    // Paths of everything in the store, for checking what was left behind.
    std::vector<std::string> AllPaths() const;
    // Calls made, one line each ("create C:\x"), in order.
    const std::vector<std::string>& Calls() const { return calls_; }

    std::unique_ptr<TextInput> OpenText(const std::string& path) override;
    std::unique_ptr<TextOutput> CreateText(const std::string& path, CodePage page) override;
    void MoveOnto(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
    std::string FirstMatchingFile(const std::string& pattern) override;
    std::vector<std::string> ListFiles(const std::string& folder) override;
    // Names the copies prefix, an eight-digit hexadecimal counter and
    // extension, skipping names that exist.
    NewTextFile CreateUniqueText(const std::string& folder, const std::string& prefix,
                                 const std::string& extension, CodePage page) override;
    bool FolderExists(const std::string& path) override;
    bool IsFile(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    // Each part by the `shortName` of its entry, where it has one.
    std::string ShortPath(const std::string& path) override;
    // The entry whose short path `path` is, by ShortPath of each entry (which
    // records its calls).
    std::string LongPath(const std::string& path) override;
    std::chrono::milliseconds TimeSinceWritten(const std::string& path) override;

    // The clock by which files are written; the test moves it.
    std::chrono::milliseconds now{};

    // Used by the text streams.
    void MaybeFail(const std::string& op, const std::string& path);
    void AppendBytes(const std::string& path, const std::string& bytes);
    const TextCodec& codec() const { return codec_; }

private:
    static std::string Key(const std::string& path);
    static std::string Parent(const std::string& path);
    static std::string NamePart(const std::string& path);
    const Entry* Find(const std::string& path) const;
    void RequireWritableFolder(const std::string& folder) const;

    const TextCodec& codec_;
    std::map<std::string, Entry> entries_;
    std::vector<Fault> faults_;
    unsigned uniqueCounter_ = 0;
    std::vector<std::string> calls_;
};

} // namespace kolvek::fake

#include "fake/FakeFileSystem.h"

#include "fake/FakeTextRules.h"
#include "platform/LineSplitter.h"
#include "platform/PathText.h"

#include <algorithm>
#include <new>

namespace kolvek::fake {

namespace {

// `path` without its closing backslashes, however many; a drive root keeps
// its one.
std::string TrimSeparator(const std::string& path) {
    const std::string trimmed = WithoutClosingBackslash(path);
    return trimmed == path ? path : TrimSeparator(trimmed);
}

class FakeTextInput : public TextInput {
public:
    FakeTextInput(FakeFileSystem& fs, std::string path, const std::string& bytes)
        : fs_(fs), path_(std::move(path)) {
        splitter_.Feed(bytes.data(), bytes.size());
        splitter_.Finish();
    }
    bool ReadLine(std::string& line) override {
        fs_.MaybeFail("read", path_);
        std::string raw;
        if (!splitter_.Next(raw))
            return false;
        line = splitter_.LinesAreUtf8() ? raw : fs_.codec().ToUtf8(raw, CodePage::Ansi);
        return true;
    }
    void Close() override { fs_.MaybeFail("close-input", path_); }

private:
    FakeFileSystem& fs_;
    std::string path_;
    LineSplitter splitter_;
};

class FakeTextOutput : public TextOutput {
public:
    FakeTextOutput(FakeFileSystem& fs, std::string path, CodePage page)
        : fs_(fs), path_(std::move(path)), page_(page) {}
    void WriteLine(const std::string& utf8) override {
        fs_.MaybeFail("write", path_);
        fs_.AppendBytes(path_, fs_.codec().FromUtf8(utf8, page_) + "\r\n");
    }
    void Close() override { fs_.MaybeFail("close", path_); }

private:
    FakeFileSystem& fs_;
    std::string path_;
    CodePage page_;
};

} // namespace

FakeFileSystem::FakeFileSystem(const TextCodec& codec) : codec_(codec) {}

std::string FakeFileSystem::Key(const std::string& path) {
    return AsciiUpperCase(TrimSeparator(path));
}

std::string FakeFileSystem::Parent(const std::string& path) {
    return FolderOf(TrimSeparator(path));
}

std::string FakeFileSystem::NamePart(const std::string& path) {
    return NameOf(TrimSeparator(path));
}

const FakeFileSystem::Entry* FakeFileSystem::Find(const std::string& path) const {
    const std::string trimmed = TrimSeparator(path);
    if (IsDriveRoot(trimmed)) {
        static const Entry root{"", true, false, false, false, "", ""};
        return &root;
    }
    const auto it = entries_.find(Key(path));
    return it == entries_.end() ? nullptr : &it->second;
}

void FakeFileSystem::AddFolder(const std::string& path) {
    const std::string trimmed = TrimSeparator(path);
    if (trimmed.empty() || IsDriveRoot(trimmed) || Find(trimmed))
        return;
    AddFolder(Parent(trimmed));
    Entry entry;
    entry.path = trimmed;
    entry.folder = true;
    entries_[Key(trimmed)] = entry;
}

FakeFileSystem::Entry& FakeFileSystem::AddFile(const std::string& path, const std::string& bytes) {
    AddFolder(Parent(path));
    Entry& entry = entries_[Key(path)];
    entry = Entry();
    entry.path = TrimSeparator(path);
    entry.bytes = bytes;
    entry.written = now;
    return entry;
}

bool FakeFileSystem::Exists(const std::string& path) const {
    return Find(path) != nullptr;
}

const std::string& FakeFileSystem::Bytes(const std::string& path) const {
    const Entry* entry = Find(path);
    if (!entry || entry->folder)
        throw RuntimeError(err::FileNotFound);
    return entry->bytes;
}

FakeFileSystem::Entry& FakeFileSystem::At(const std::string& path) {
    const auto it = entries_.find(Key(path));
    if (it == entries_.end())
        throw RuntimeError(err::FileNotFound);
    return it->second;
}

std::vector<std::string> FakeFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    for (const auto& [key, entry] : entries_)
        paths.push_back(entry.path);
    return paths;
}

void FakeFileSystem::MaybeFail(const std::string& op, const std::string& path) {
    calls_.push_back(op + " " + path);
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->op != op || path.find(it->pathPart) == std::string::npos)
            continue;
        if (it->remaining > 0) {
            --it->remaining;
            continue;
        }
        const std::int32_t number = it->number;
        if (it->once)
            faults_.erase(it);
        if (number == err::OutOfMemory)
            throw std::bad_alloc();
        throw RuntimeError(number);
    }
}

void FakeFileSystem::AppendBytes(const std::string& path, const std::string& bytes) {
    Entry& entry = At(path);
    entry.bytes += bytes;
    entry.written = now;
}

void FakeFileSystem::RequireWritableFolder(const std::string& folder) const {
    const Entry* parent = Find(folder);
    if (!parent || !parent->folder)
        throw RuntimeError(err::PathNotFound);
    if (parent->readOnly)
        throw RuntimeError(err::PathFileAccessError);
}

std::unique_ptr<TextInput> FakeFileSystem::OpenText(const std::string& path) {
    MaybeFail("open", path);
    const Entry* entry = Find(path);
    if (!entry)
        throw RuntimeError(Find(Parent(path)) ? err::FileNotFound : err::PathNotFound);
    if (entry->folder)
        throw RuntimeError(err::PathFileAccessError);
    return std::make_unique<FakeTextInput>(*this, path, entry->bytes);
}

std::unique_ptr<TextOutput> FakeFileSystem::CreateText(const std::string& path, CodePage page) {
    MaybeFail("create", path);
    RequireWritableFolder(Parent(path));
    if (const Entry* existing = Find(path)) {
        // Windows refuses to recreate a read-only or hidden file, or a folder.
        if (existing->folder || existing->readOnly || existing->hidden || existing->system)
            throw RuntimeError(err::PathFileAccessError);
    }
    AddFile(path);
    return std::make_unique<FakeTextOutput>(*this, path, page);
}

void FakeFileSystem::MoveOnto(const std::string& from, const std::string& to) {
    MaybeFail("replace", to);
    const Entry* source = Find(from);
    if (!source || source->folder)
        throw RuntimeError(err::FileNotFound);
    RequireWritableFolder(Parent(to));
    if (const Entry* target = Find(to)) {
        if (target->folder || target->readOnly || target->hidden || target->system)
            throw RuntimeError(err::PathFileAccessError);
    }
    Entry moved = *source;
    entries_.erase(Key(from));
    moved.path = TrimSeparator(to);
    entries_[Key(to)] = moved;
}

void FakeFileSystem::Erase(const std::string& path) {
    entries_.erase(Key(path));
}

void FakeFileSystem::RemoveFile(const std::string& path) {
    MaybeFail("remove", path);
    const Entry* entry = Find(path);
    if (!entry || entry->folder)
        throw RuntimeError(err::FileNotFound);
    if (entry->readOnly || Find(Parent(path))->readOnly)
        throw RuntimeError(err::PathFileAccessError);
    entries_.erase(Key(path));
}

std::string FakeFileSystem::FirstMatchingFile(const std::string& pattern) {
    MaybeFail("find", pattern);
    if (pattern.empty())
        return std::string();
    const std::string name = NamePart(pattern);
    if (name.find_first_of("|\"") != std::string::npos)
        throw RuntimeError(err::BadFileName);
    const std::string folderKey = Key(Parent(pattern));
    for (const auto& [key, entry] : entries_) {
        if (Key(Parent(entry.path)) != folderKey)
            continue;
        const std::string entryName = NamePart(entry.path);
        const bool matches =
            AsciiMatchesPattern(entryName, name) ||
            (!entry.shortName.empty() && AsciiMatchesPattern(entry.shortName, name));
        if (matches && !entry.folder && !entry.hidden && !entry.system)
            return entryName;
    }
    return std::string();
}

std::vector<std::string> FakeFileSystem::ListFiles(const std::string& folder) {
    MaybeFail("list", folder);
    const Entry* entry = Find(folder);
    if (!entry || !entry->folder)
        throw RuntimeError(err::PathNotFound);
    std::vector<std::string> names;
    const std::string folderKey = Key(folder);
    for (const auto& [key, child] : entries_) {
        if (Key(Parent(child.path)) == folderKey && !child.folder && !child.hidden && !child.system)
            names.push_back(NamePart(child.path));
    }
    // A real directory listing comes in no promised order.
    std::reverse(names.begin(), names.end());
    return names;
}

NewTextFile FakeFileSystem::CreateUniqueText(const std::string& folder, const std::string& prefix,
                                             const std::string& extension, CodePage page) {
    std::string path;
    do {
        static const char kDigits[] = "0123456789ABCDEF";
        std::string unique(8, '0');
        unsigned value = ++uniqueCounter_;
        for (std::size_t i = unique.size(); i-- > 0; value >>= 4)
            unique[i] = kDigits[value & 0xF];
        path = JoinPath(TrimSeparator(folder), prefix + unique + extension);
    } while (Find(path) != nullptr);
    MaybeFail("create", path);
    RequireWritableFolder(Parent(path));
    AddFile(path);
    return {path, std::make_unique<FakeTextOutput>(*this, path, page)};
}

bool FakeFileSystem::FolderExists(const std::string& path) {
    const Entry* entry = Find(path);
    return entry != nullptr && entry->folder;
}

bool FakeFileSystem::IsFile(const std::string& path) {
    const Entry* entry = Find(path);
    return entry != nullptr && !entry->folder;
}

void FakeFileSystem::CreateFolder(const std::string& path) {
    MaybeFail("mkdir", path);
    if (const Entry* entry = Find(path)) {
        if (!entry->folder)
            throw RuntimeError(err::PathFileAccessError);
        return;
    }
    RequireWritableFolder(Parent(path));
    AddFolder(path);
}

std::string FakeFileSystem::ShortPath(const std::string& path) {
    MaybeFail("short", path);
    const std::string trimmed = TrimSeparator(path);
    if (!Find(trimmed))
        throw RuntimeError(Find(Parent(trimmed)) ? err::FileNotFound : err::PathNotFound);
    const std::vector<std::string> names = PathParts(trimmed);
    std::string shortPath;
    std::string part; // `trimmed` up to the name
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string separator = i == 0 ? "" : "\\";
        part += separator + names[i];
        const Entry* entry = Find(part);
        shortPath += separator +
                     (entry != nullptr && !entry->shortName.empty() ? entry->shortName : names[i]);
    }
    return shortPath;
}

std::string FakeFileSystem::LongPath(const std::string& path) {
    for (const auto& [key, entry] : entries_)
        if (Key(ShortPath(entry.path)) == Key(path))
            return entry.path;
    return path;
}

std::chrono::milliseconds FakeFileSystem::TimeSinceWritten(const std::string& path) {
    MaybeFail("age", path);
    const Entry* entry = Find(path);
    if (!entry || entry->folder)
        throw RuntimeError(err::FileNotFound);
    return now - entry->written;
}

} // namespace kolvek::fake

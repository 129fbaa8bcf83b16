#pragma once
// Records every file-operation request and answers as told; sends files to a
// Recycle Bin of its own.

#include "fake/FakeFileSystem.h"
#include "platform/Shell.h"

#include <vector>

namespace kolvek::fake {

class FakeShell : public Shell {
public:
    explicit FakeShell(FakeFileSystem& files) : files_(files) {}

    ShellFileOpResult FileOperation(const ShellFileOpRequest& request) override {
        requests.push_back(request);
        return answer;
    }
    // Fails as the file system's "recycle" fault says, or as Windows would
    // for a missing file; a read-only file goes too, as the shell moves it
    // without asking.
    void RecycleFile(const std::string& path) override {
        files_.MaybeFail("recycle", path);
        if (!files_.IsFile(path))
            throw RuntimeError(err::FileNotFound);
        recycled.push_back({path, files_.Bytes(path)});
        files_.Erase(path);
    }

    struct Recycled {
        std::string path;
        std::string bytes;
    };
    std::vector<ShellFileOpRequest> requests;
    ShellFileOpResult answer;
    // What went to the Recycle Bin, in order.
    std::vector<Recycled> recycled;

private:
    FakeFileSystem& files_;
};

} // namespace kolvek::fake

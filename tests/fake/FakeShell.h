#pragma once
// Records every file-operation request and answers as told.

#include "platform/Shell.h"

#include <vector>

namespace kolvek::fake {

class FakeShell : public Shell {
public:
    ShellFileOpResult FileOperation(const ShellFileOpRequest& request) override {
        requests.push_back(request);
        return answer;
    }

    std::vector<ShellFileOpRequest> requests;
    ShellFileOpResult answer;
};

} // namespace kolvek::fake

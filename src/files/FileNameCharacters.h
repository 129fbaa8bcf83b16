#pragma once
// The characters that a Windows file or folder name cannot hold.

#include <string>

namespace kolvek {

// True when the name holds a character that Windows file names cannot hold
// (\ / : * ? " < > | or a control character): such a name could reach a file
// outside its folder, or mean something else to cmd.exe.
bool HasForbiddenCharacter(const std::string& name);

} // namespace kolvek

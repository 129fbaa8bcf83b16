#pragma once
// The characters that a Windows file or folder name cannot hold.

#include <string>

namespace kolvek {

// True when the name holds a character that Windows file names cannot hold
// (\ / : * ? " < > | or a control character): such a name could reach a file
// outside its folder, or mean something else to cmd.exe.
bool HasForbiddenCharacter(const std::string& name);
// True when the part of the name before its first dot is a device name that
// Windows reserves (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM and LPT with a
// digit 0-9 or a superscript 1-3), in any case.
bool IsReservedDeviceName(const std::string& name);
// True when Windows itself allows the name: no forbidden character, no
// device name, and no character that stands for bytes that are no text.
bool WindowsAllowsName(const std::string& name);

} // namespace kolvek

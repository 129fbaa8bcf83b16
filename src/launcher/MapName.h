#pragma once
// Checks on the name the user types for a new map, beyond the blank check.

#include "platform/TextRules.h"

#include <string>

namespace kolvek {

// True when the name holds a character that Windows file names cannot hold
// (\ / : * ? " < > | or a control character): such a name could reach a file
// outside the map folder.
bool HasForbiddenCharacter(const std::string& name);
// True when the part of the name before its first dot is a device name that
// Windows reserves (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9), in any case.
bool IsReservedDeviceName(const TextRules& text, const std::string& name);
// True when the name ends in ".bzn", in any letter case.
bool HasMapExtension(const TextRules& text, const std::string& name);

} // namespace kolvek

#pragma once
// Checks on map names: on the name the user types for a new map, beyond the
// blank check, and on the names the map list shows.

#include "files/FileNameCharacters.h"
#include "platform/TextRules.h"

#include <string>

namespace kolvek {

// True when the part of the name before its first dot is a device name that
// Windows reserves (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM and LPT with a
// digit 0-9 or a superscript 1-3), in any case.
bool IsReservedDeviceName(const std::string& name);
// True when Windows itself allows the name: no forbidden character, no
// device name, and no character that stands for bytes that are no text.
bool WindowsAllowsName(const std::string& name);
// True when the name ends in ".bzn", in any letter case.
bool HasMapExtension(const TextRules& text, const std::string& name);

} // namespace kolvek

#pragma once
// The extension of the maps' files.

#include "platform/TextRules.h"

#include <string>

namespace kolvek {

// True when the name ends in ".bzn", in any letter case.
bool HasMapExtension(const TextRules& text, const std::string& name);

} // namespace kolvek

#pragma once
// The whole seam between the program's logic and the operating system.

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"
#include "platform/TextRules.h"
#include "platform/UserInterface.h"

namespace kolvek {

struct Platform {
    FileSystem& files;
    Registry& registry;
    Shell& shell;
    UserInterface& ui;
    Process& process;
    TextCodec& codec;
    TextRules& text;
};

} // namespace kolvek

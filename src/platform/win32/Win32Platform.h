#pragma once
// The Win32 implementation of every part of the seam, owned in one place.

#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32TextRules.h"
#include "platform/win32/Win32UserInterface.h"

namespace kolvek {

class Win32Platform {
public:
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // Refers to the members; valid as long as this object lives.
    Platform& Get() { return platform_; }

private:
    Win32FileSystem files_;
    Win32Registry registry_;
    Win32Shell shell_;
    Win32UserInterface ui_;
    Win32Process process_;
    Win32TextCodec codec_;
    Win32TextRules text_;
    Platform platform_{files_, registry_, shell_, ui_, process_, codec_, text_};
};

} // namespace kolvek

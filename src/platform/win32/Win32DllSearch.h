#pragma once
// Where this program's DLLs come from. KOLVEK.EXE is often started where it
// was unpacked, in Downloads beside whatever else came from the web: Windows
// would look there first for any DLL that is not a known one, also for the
// DLLs that system DLLs load. So DLLs come from the system folder only.

#include "platform/win32/Win32Api.h"

#include <string>

namespace kolvek {

// Limits the DLL search of the whole process to the system folder. Windows 7
// and Vista without the loader update of 2011 (KB2533623) lack
// SetDefaultDllDirectories and its flags; there, SetDllDirectoryW(L"") takes
// only the current folder out of the search, and the program's own folder
// stays in it.
void RestrictDllSearch();

// Loads the DLL `name` by its full path in the system folder, and looks for
// the DLLs it loads in the system folder first, on every Windows. Null, with
// the error in GetLastError, when it cannot.
HMODULE LoadSystemDll(const std::string& name);

} // namespace kolvek

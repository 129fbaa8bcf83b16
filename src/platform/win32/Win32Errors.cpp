#include "platform/win32/Win32Errors.h"

namespace kolvek {

std::int32_t RuntimeErrorNumber(DWORD win32Error) {
    switch (win32Error) {
    case ERROR_FILE_NOT_FOUND:
        return err::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return err::PathNotFound;
    case ERROR_ACCESS_DENIED:
        return err::PathFileAccessError;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return err::PermissionDenied;
    case ERROR_NOT_READY:
        return err::DiskNotReady;
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return err::DeviceUnavailable;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return err::BadFileName;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return err::DiskFull;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return err::OutOfMemory;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        return err::DeviceIoError;
    default:
        return err::PathFileAccessError;
    }
}

void ThrowWin32Error(DWORD win32Error) {
    throw RuntimeError(RuntimeErrorNumber(win32Error));
}

void ThrowLastError() {
    ThrowWin32Error(::GetLastError());
}

} // namespace kolvek

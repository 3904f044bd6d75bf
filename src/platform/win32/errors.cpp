#include "platform/win32/errors.h"

#include <windows.h>

namespace glyvora::win32 {

FileError fileErrorFromWin32(unsigned long error) {
    switch (error) {
    case ERROR_SUCCESS:
        return FileError::None;
    case ERROR_FILE_NOT_FOUND:
        return FileError::NotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE:
        return FileError::BadPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return FileError::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return FileError::AccessDenied;
    case ERROR_INVALID_HANDLE:
        return FileError::InvalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return FileError::RemoveCurrentDir;
    case ERROR_CANNOT_MAKE:
        return FileError::DirectoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
        return FileError::BadSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_IO_DEVICE:
        return FileError::HardwareIO;
    case ERROR_SHARING_VIOLATION:
        return FileError::SharingViolation;
    case ERROR_LOCK_VIOLATION:
        return FileError::LockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileError::DiskFull;
    case ERROR_HANDLE_EOF:
        return FileError::EndOfFile;
    default:
        return FileError::Generic;
    }
}

} // namespace glyvora::win32

#include "platform/win32/errors.h"

#include "platform/file_error_codes.h"

#include <windows.h>

namespace glyvora::win32 {

namespace {

const FileErrorCodes<unsigned long> kWin32Codes[] = {
    {FileError::None, {ERROR_SUCCESS}},
    {FileError::NotFound, {ERROR_FILE_NOT_FOUND}},
    {FileError::BadPath,
     {ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_BAD_PATHNAME, ERROR_INVALID_DRIVE, ERROR_BAD_NETPATH,
      ERROR_FILENAME_EXCED_RANGE}},
    {FileError::TooManyOpenFiles, {ERROR_TOO_MANY_OPEN_FILES}},
    {FileError::AccessDenied,
     {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT, ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS}},
    {FileError::InvalidFile, {ERROR_INVALID_HANDLE}},
    {FileError::RemoveCurrentDir, {ERROR_CURRENT_DIRECTORY}},
    {FileError::DirectoryFull, {ERROR_CANNOT_MAKE}},
    {FileError::BadSeek, {ERROR_SEEK, ERROR_NEGATIVE_SEEK}},
    {FileError::HardwareIO, {ERROR_CRC, ERROR_READ_FAULT, ERROR_WRITE_FAULT, ERROR_IO_DEVICE}},
    {FileError::SharingViolation, {ERROR_SHARING_VIOLATION}},
    {FileError::LockViolation, {ERROR_LOCK_VIOLATION}},
    {FileError::DiskFull, {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}},
    {FileError::EndOfFile, {ERROR_HANDLE_EOF}},
};

} // namespace

FileError fileErrorFromWin32(unsigned long error) {
    return fileErrorOfCode(kWin32Codes, error);
}

} // namespace glyvora::win32

// The system's error codes as the program's file errors, on the platform the tests run on.
#include "platform/file_error_codes.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/win32/errors.h"

#include <windows.h>
#else
#include "platform/posix/errors.h"

#include <cerrno>
#endif

namespace glyvora {
namespace {

TEST(FileErrorCodes, aCodeIsFoundInAnyPlaceOfItsRowAndAnUnlistedOneIsGeneric) {
    const FileErrorCodes<int> table[] = {
        {FileError::NotFound, {7}},
        {FileError::BadPath, {}},
        {FileError::DiskFull, {3, 9, 12}},
        // A code listed twice takes its first row.
        {FileError::HardwareIO, {9}},
    };
    EXPECT_EQ(fileErrorOfCode(table, 7), FileError::NotFound);
    EXPECT_EQ(fileErrorOfCode(table, 3), FileError::DiskFull);
    EXPECT_EQ(fileErrorOfCode(table, 12), FileError::DiskFull);
    EXPECT_EQ(fileErrorOfCode(table, 9), FileError::DiskFull);
    EXPECT_EQ(fileErrorOfCode(table, 0), FileError::Generic);
    EXPECT_EQ(fileErrorOfCode(table, -7), FileError::Generic);
}

#ifdef _WIN32
TEST(FileErrorCodes, win32CodesBecomeTheProgramsFileErrors) {
    const std::pair<DWORD, FileError> cases[] = {
        {ERROR_SUCCESS, FileError::None},
        {ERROR_FILE_NOT_FOUND, FileError::NotFound},
        {ERROR_PATH_NOT_FOUND, FileError::BadPath},
        {ERROR_FILENAME_EXCED_RANGE, FileError::BadPath},
        {ERROR_TOO_MANY_OPEN_FILES, FileError::TooManyOpenFiles},
        {ERROR_ACCESS_DENIED, FileError::AccessDenied},
        {ERROR_ALREADY_EXISTS, FileError::AccessDenied},
        {ERROR_INVALID_HANDLE, FileError::InvalidFile},
        {ERROR_CURRENT_DIRECTORY, FileError::RemoveCurrentDir},
        {ERROR_CANNOT_MAKE, FileError::DirectoryFull},
        {ERROR_NEGATIVE_SEEK, FileError::BadSeek},
        {ERROR_CRC, FileError::HardwareIO},
        {ERROR_IO_DEVICE, FileError::HardwareIO},
        {ERROR_SHARING_VIOLATION, FileError::SharingViolation},
        {ERROR_LOCK_VIOLATION, FileError::LockViolation},
        {ERROR_HANDLE_DISK_FULL, FileError::DiskFull},
        {ERROR_HANDLE_EOF, FileError::EndOfFile},
        {ERROR_NOT_ENOUGH_MEMORY, FileError::Generic},
        {0xFFFFFFFFu, FileError::Generic},
    };
    for (const auto& [code, error] : cases)
        EXPECT_EQ(win32::fileErrorFromWin32(code), error) << code;
}
#else
TEST(FileErrorCodes, errnoCodesBecomeTheProgramsFileErrors) {
    const std::pair<int, FileError> cases[] = {
        {0, FileError::None},
        {ENOENT, FileError::NotFound},
        {ENOTDIR, FileError::BadPath},
        {EINVAL, FileError::BadPath},
        {ENFILE, FileError::TooManyOpenFiles},
        {EACCES, FileError::AccessDenied},
        {EEXIST, FileError::AccessDenied},
        {EBADF, FileError::InvalidFile},
        {ESPIPE, FileError::BadSeek},
        {EFBIG, FileError::BadSeek},
        {EIO, FileError::HardwareIO},
        {ENOSPC, FileError::DiskFull},
        {EDQUOT, FileError::DiskFull},
        // No errno stands for a sharing or lock violation: the file layer decides those itself.
        {EAGAIN, FileError::Generic},
        {ENOMEM, FileError::Generic},
        {-1, FileError::Generic},
    };
    for (const auto& [code, error] : cases)
        EXPECT_EQ(posix::fileErrorFromErrno(code), error) << code;
}
#endif

} // namespace
} // namespace glyvora

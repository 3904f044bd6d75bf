#include "platform/posix/errors.h"

#include "platform/file_error_codes.h"

#include <cerrno>

namespace glyvora::posix {

namespace {

const FileErrorCodes<int> kErrnoCodes[] = {
    {FileError::None, {0}},
    {FileError::NotFound, {ENOENT}},
    {FileError::BadPath, {ENOTDIR, ENAMETOOLONG, ELOOP, EINVAL}},
    {FileError::TooManyOpenFiles, {EMFILE, ENFILE}},
    {FileError::AccessDenied, {EACCES, EPERM, EROFS, EISDIR, EEXIST}},
    {FileError::InvalidFile, {EBADF}},
    {FileError::BadSeek, {ESPIPE, EOVERFLOW, EFBIG}},
    {FileError::HardwareIO, {EIO}},
    {FileError::DiskFull, {ENOSPC, EDQUOT}},
};

} // namespace

FileError fileErrorFromErrno(int error) {
    return fileErrorOfCode(kErrnoCodes, error);
}

} // namespace glyvora::posix

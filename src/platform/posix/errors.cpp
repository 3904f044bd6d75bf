#include "platform/posix/errors.h"

#include <cerrno>

namespace glyvora::posix {

FileError fileErrorFromErrno(int error) {
    switch (error) {
    case 0:
        return FileError::None;
    case ENOENT:
        return FileError::NotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return FileError::BadPath;
    case EMFILE:
    case ENFILE:
        return FileError::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return FileError::AccessDenied;
    case EBADF:
        return FileError::InvalidFile;
    case ESPIPE:
    case EOVERFLOW:
    case EFBIG:
        return FileError::BadSeek;
    case EIO:
        return FileError::HardwareIO;
    case ENOSPC:
    case EDQUOT:
        return FileError::DiskFull;
    default:
        return FileError::Generic;
    }
}

} // namespace glyvora::posix

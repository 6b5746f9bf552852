#include "platform/posix/error_code.h"

#include <cerrno>

#include "platform/platform.h"

int win32_error(int errnum, int fallback) {
  switch (errnum) {
    case 0:
      return fallback;
    case ENOENT:
      return kErrFileNotFound;
    case ENOTDIR:  // a piece before the last is a file: the path leads nowhere
      return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:  // a directory opened as a file
    case ETXTBSY:
    case EBUSY:
    case ENOTEMPTY:
      return kErrAccessDenied;
    case EEXIST:
      return kErrFileExists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kErrDiskFull;
    case ENAMETOOLONG:
    case EILSEQ:
      return kErrInvalidName;
    case ELOOP:  // a chain of links that never ends in a file
      return kErrPathNotFound;
    case EBADF:
      return kErrInvalidHandle;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
      return kErrNotReady;
    default:
      return fallback;
  }
}

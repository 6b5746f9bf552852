// The raw file primitives under the text and record files: plain
// descriptors, positioned reads and writes.

#include "platform/raw_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

#include "platform/platform.h"
#include "platform/posix/case_lookup.h"
#include "platform/posix/drive_map.h"
#include "platform/posix/error_code.h"

namespace {

int descriptor_of(std::intptr_t handle) {
  return handle >= 0 && handle <= INT_MAX ? static_cast<int>(handle) : -1;
}

int open_flags(RawOpen mode) {
  switch (mode) {
    case RawOpen::kCreateTruncate:
      return O_WRONLY | O_CREAT | O_TRUNC;
    case RawOpen::kAppendExisting:
      return O_WRONLY | O_APPEND;
    case RawOpen::kCreateNew:
      // Exclusive: an existing name, even a link to nowhere, is refused.
      return O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
    case RawOpen::kReadWriteExisting:
      return O_RDWR;
  }
  return O_RDONLY;
}

// Writes all n bytes at offset, or at the descriptor's position for -1.
bool write_all(int fd, const char* bytes, std::size_t n, std::int64_t offset, int& error) {
  while (n > 0) {
    ssize_t written = offset < 0 ? write(fd, bytes, n) : pwrite(fd, bytes, n, offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = written < 0 ? win32_error(errno, kErrWriteFault) : kErrWriteFault;
      return false;
    }
    bytes += written;
    n -= static_cast<std::size_t>(written);
    if (offset >= 0) offset += written;
  }
  return true;
}

}  // namespace

std::intptr_t raw_open(const Str255& path, RawOpen mode, int& error) {
  UnixPath unix_path;
  if (!map_dos_path(path.view(), false, unix_path, error)) return -1;
  if (unix_path.trailing_separator || unix_path.at_root) {
    error = kErrInvalidName;  // a name ending in "\" is a directory's
    return -1;
  }
  int flags = open_flags(mode) | O_CLOEXEC;
  bool creates = (flags & O_CREAT) != 0;
  // A file that exists in another case is the file meant; a new one must
  // not be created beside it, so creating resolves the case first.
  if (creates) resolve_case(unix_path);
  int fd = open(unix_path.text.c_str(), flags, 0666);
  if (fd < 0 && !creates && case_may_differ(errno) && resolve_case(unix_path)) {
    fd = open(unix_path.text.c_str(), flags, 0666);
  }
  if (fd < 0) {
    error = win32_error(errno, kErrAccessDenied);
    return -1;
  }
  return fd;
}

bool raw_write(std::intptr_t handle, const void* data, std::size_t n, int& error) {
  return write_all(descriptor_of(handle), static_cast<const char*>(data), n, -1, error);
}

bool raw_write_at(std::intptr_t handle, std::int64_t offset, const void* data, std::size_t n,
                  int& error) {
  if (offset < 0) {
    error = kErrHandleEof;
    return false;
  }
  return write_all(descriptor_of(handle), static_cast<const char*>(data), n, offset, error);
}

bool raw_read_at(std::intptr_t handle, std::int64_t offset, void* data, std::size_t n, int& error) {
  char* bytes = static_cast<char*>(data);
  int fd = descriptor_of(handle);
  while (n > 0) {
    ssize_t got = pread(fd, bytes, n, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      error = got < 0 ? win32_error(errno, kErrReadFault) : kErrHandleEof;
      return false;
    }
    bytes += got;
    offset += got;
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

std::int64_t raw_size(std::intptr_t handle, int& error) {
  struct stat info;
  if (fstat(descriptor_of(handle), &info) != 0) {
    error = win32_error(errno, kErrReadFault);
    return -1;
  }
  return static_cast<std::int64_t>(info.st_size);
}

bool raw_close(std::intptr_t handle, int& error) {
  if (close(descriptor_of(handle)) == 0) return true;
  error = win32_error(errno, kErrWriteFault);
  return false;
}

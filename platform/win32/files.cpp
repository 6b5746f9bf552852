// The file primitives under the text and record files, on CreateFileA handles.
//
// Every file is opened with FILE_SHARE_DELETE: the Ctrl+C handler must be able
// to remove the subdirectory list file while the program still holds it open
// (Windows removes it when the last handle goes, at the latest as the process
// ends).

#include "platform/platform.h"
#include "platform/raw_file.h"
#include "platform/win32/win32_base.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE as_handle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

OVERLAPPED at_offset(std::int64_t offset) {
  OVERLAPPED where{};
  const auto bits = static_cast<std::uint64_t>(offset);
  where.Offset = static_cast<DWORD>(bits & 0xFFFFFFFFu);
  where.OffsetHigh = static_cast<DWORD>(bits >> 32);
  return where;
}

// Writes all n bytes, at offset when one is given. A write that takes fewer
// bytes than offered has met a full disk.
bool write_all(HANDLE file, const OVERLAPPED* where, const void* data, std::size_t n, int& error) {
  const auto* bytes = static_cast<const char*>(data);
  OVERLAPPED position = where ? *where : OVERLAPPED{};
  while (n > 0) {
    const DWORD chunk = n > 0x10000000 ? 0x10000000 : static_cast<DWORD>(n);
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, where ? &position : nullptr)) {
      error = last_error_status(kErrWriteFault);
      return false;
    }
    if (written == 0) {
      error = kErrDiskFull;
      return false;
    }
    bytes += written;
    n -= written;
    if (where) {
      const std::uint64_t next =
          ((static_cast<std::uint64_t>(position.OffsetHigh) << 32) | position.Offset) + written;
      position.Offset = static_cast<DWORD>(next & 0xFFFFFFFFu);
      position.OffsetHigh = static_cast<DWORD>(next >> 32);
    }
  }
  return true;
}

}  // namespace

std::intptr_t raw_open(const Str255& path, RawOpen mode, int& error) {
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  DWORD flags = FILE_ATTRIBUTE_NORMAL;
  switch (mode) {
    case RawOpen::kCreateTruncate:
      access = GENERIC_WRITE;
      disposition = CREATE_ALWAYS;
      break;
    case RawOpen::kAppendExisting:
      access = GENERIC_WRITE;
      break;
    case RawOpen::kCreateNew:
      // CREATE_NEW fails on any existing name, a link whose target is missing
      // included, so nothing is ever followed or truncated.
      disposition = CREATE_NEW;
      flags |= FILE_FLAG_OPEN_REPARSE_POINT;
      break;
    case RawOpen::kReadWriteExisting:
      break;
  }
  const HANDLE file =
      CreateFileA(ansi(path).text, access, kShareAll, nullptr, disposition, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = last_error_status(kErrFileNotFound);
    return -1;
  }
  return reinterpret_cast<std::intptr_t>(file);
}

bool raw_write(std::intptr_t handle, const void* data, std::size_t n, int& error) {
  const HANDLE file = as_handle(handle);
  LARGE_INTEGER none{};
  if (!SetFilePointerEx(file, none, nullptr, FILE_END)) {
    error = last_error_status(kErrWriteFault);
    return false;
  }
  return write_all(file, nullptr, data, n, error);
}

bool raw_write_at(std::intptr_t handle, std::int64_t offset, const void* data, std::size_t n,
                  int& error) {
  const OVERLAPPED where = at_offset(offset);
  return write_all(as_handle(handle), &where, data, n, error);
}

bool raw_read_at(std::intptr_t handle, std::int64_t offset, void* data, std::size_t n, int& error) {
  OVERLAPPED where = at_offset(offset);
  DWORD got = 0;
  // A synchronous read at or past the end either fails with ERROR_HANDLE_EOF
  // or succeeds with fewer bytes: both are a short read.
  if (!ReadFile(as_handle(handle), data, static_cast<DWORD>(n), &got, &where)) {
    error = last_error_status(kErrReadFault);
    if (error == ERROR_HANDLE_EOF) error = kErrHandleEof;
    return false;
  }
  if (got != n) {
    error = kErrHandleEof;
    return false;
  }
  return true;
}

std::int64_t raw_size(std::intptr_t handle, int& error) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(as_handle(handle), &size)) {
    error = last_error_status(kErrReadFault);
    return -1;
  }
  return size.QuadPart;
}

bool raw_close(std::intptr_t handle, int& error) {
  if (!CloseHandle(as_handle(handle))) {
    error = last_error_status(kErrInvalidHandle);
    return false;
  }
  return true;
}

void remove_file(const Str255& path) {
  DeleteFileA(ansi(path).text);
}

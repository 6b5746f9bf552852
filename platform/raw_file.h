#ifndef VESK_PLATFORM_RAW_FILE_H_
#define VESK_PLATFORM_RAW_FILE_H_

// File primitives each backend provides under the text and record files of
// platform.h (platform/text_file.cpp, platform/record_file.cpp). Not for the
// core. Every call that fails stores a Win32 error number in error.

#include <cstddef>
#include <cstdint>

#include "zazaz32/str255.h"

enum class RawOpen {
  kCreateTruncate,     // create, or truncate an existing file
  kAppendExisting,     // an existing file, writes go to its end
  kCreateNew,          // a file that does not exist yet; never follows a link
  kReadWriteExisting,  // an existing file, read and write
};

// A handle, or -1 on failure.
std::intptr_t raw_open(const Str255& path, RawOpen mode, int& error);
// Writes all n bytes at the file's current end (append) or at offset.
bool raw_write(std::intptr_t handle, const void* data, std::size_t n, int& error);
bool raw_write_at(std::intptr_t handle, std::int64_t offset, const void* data, std::size_t n,
                  int& error);
// Reads exactly n bytes at offset; a short read fails with kErrHandleEof.
bool raw_read_at(std::intptr_t handle, std::int64_t offset, void* data, std::size_t n, int& error);
// The file's length in bytes, -1 on failure.
std::int64_t raw_size(std::intptr_t handle, int& error);
bool raw_close(std::intptr_t handle, int& error);

#endif  // VESK_PLATFORM_RAW_FILE_H_

#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/io_state.h"
#include "platform/raw_file.h"

// Record files on top of the backend's raw primitives: record k lives at
// byte k * size. New records at the end gather in the tail buffer and go out
// together when it is full or the file is closed; reads of records on disk
// fill the cache with as many following records as it holds. The list of
// directories is read and appended record by record, so this turns two
// system calls per directory into two per hundred.
//
// The file is this process's alone while it is open (it was created
// exclusively, or is opened again only after that), so the count of records
// is kept here and never asked of the system again.

namespace {

int capacity(const RecordFile& f) {
  return kRecordBuffer / f.size;
}

std::size_t bytes(const RecordFile& f, std::int64_t records) {
  return static_cast<std::size_t>(records * f.size);
}

// A strict call that could not do its work ends the run: its callers have no
// way to go on without the answer.
[[noreturn]] void strict_records_failure(const char* call, int error) {
  char message[96];
  std::snprintf(message, sizeof message, "%s: errore %d sul file di record", call, error);
  strict_failure(message);
}

void records_open_as(RecordFile& f, const Str255& path, int size, RawOpen mode) {
  if (io_blocked()) return;
  int error = 0;
  f.size = size;
  f.position = 0;
  f.on_disk = 0;
  f.appended = 0;
  f.cached = 0;
  if (size <= 0 || size > kRecordBuffer) {
    io_fail(kErrInvalidHandle);
    return;
  }
  f.handle = raw_open(path, mode, error);
  if (f.handle == -1) {
    io_fail(error);
    return;
  }
  if (mode == RawOpen::kCreateNew) return;
  std::int64_t length = raw_size(f.handle, error);
  if (length < 0) {
    raw_close(f.handle, error);
    f.handle = -1;
    io_fail(error);
    return;
  }
  f.on_disk = length / size;  // a half record at the end is not one
}

// Writes the tail buffer out after the records on disk.
bool flush_tail(RecordFile& f) {
  if (f.appended == 0) return true;
  int error = 0;
  if (!raw_write_at(f.handle, f.on_disk * f.size, f.tail, bytes(f, f.appended), error)) {
    io_fail(error);
    return false;
  }
  f.on_disk += f.appended;
  f.appended = 0;
  return true;
}

bool usable(const RecordFile& f) {
  if (f.handle != -1) return true;
  io_fail(kErrInvalidHandle);
  return false;
}

// Copies record k (on disk) into out, through the cache.
bool read_on_disk(RecordFile& f, std::int64_t k, unsigned char* out) {
  if (k < f.cached_first || k >= f.cached_first + f.cached) {
    std::int64_t n = std::min<std::int64_t>(capacity(f), f.on_disk - k);
    int error = 0;
    f.cached = 0;
    if (!raw_read_at(f.handle, k * f.size, f.cache, bytes(f, n), error)) {
      io_fail(error);
      return false;
    }
    f.cached_first = k;
    f.cached = static_cast<int>(n);
  }
  std::memcpy(out, f.cache + bytes(f, k - f.cached_first), bytes(f, 1));
  return true;
}

// Writes record k over one that is already on disk.
bool rewrite_on_disk(RecordFile& f, std::int64_t k, const unsigned char* record) {
  int error = 0;
  if (!raw_write_at(f.handle, k * f.size, record, bytes(f, 1), error)) {
    io_fail(error);
    return false;
  }
  if (k >= f.cached_first && k < f.cached_first + f.cached) {
    std::memcpy(f.cache + bytes(f, k - f.cached_first), record, bytes(f, 1));
  }
  return true;
}

std::int64_t strict_count(const RecordFile& f, const char* call) {
  int error = io_status();
  if (error == 0 && f.handle != -1) return f.on_disk + f.appended;
  strict_records_failure(call, error != 0 ? error : kErrInvalidHandle);
}

}  // namespace

void records_create_new(RecordFile& f, const Str255& path, int size) {
  records_open_as(f, path, size, RawOpen::kCreateNew);
}

void records_open(RecordFile& f, const Str255& path, int size) {
  records_open_as(f, path, size, RawOpen::kReadWriteExisting);
}

void records_read(RecordFile& f, unsigned char* record) {
  if (io_blocked() || !usable(f)) return;
  std::int64_t k = f.position;
  if (k >= f.on_disk + f.appended) {
    io_fail(kErrHandleEof);
    return;
  }
  if (k >= f.on_disk) {
    std::memcpy(record, f.tail + bytes(f, k - f.on_disk), bytes(f, 1));
  } else if (!read_on_disk(f, k, record)) {
    return;
  }
  ++f.position;
}

void records_write(RecordFile& f, const unsigned char* record) {
  if (io_blocked() || !usable(f)) return;
  std::int64_t k = f.position;
  std::int64_t count = f.on_disk + f.appended;
  if (k < f.on_disk) {
    if (!rewrite_on_disk(f, k, record)) return;
  } else if (k < count) {
    std::memcpy(f.tail + bytes(f, k - f.on_disk), record, bytes(f, 1));
  } else if (k == count) {
    if (f.appended == capacity(f) && !flush_tail(f)) return;
    std::memcpy(f.tail + bytes(f, f.appended), record, bytes(f, 1));
    ++f.appended;
  } else {
    // Past the end: the gap reads back as empty records on disk.
    if (!flush_tail(f) || !rewrite_on_disk(f, k, record)) return;
    f.on_disk = k + 1;
  }
  ++f.position;
}

void records_seek(RecordFile& f, std::int64_t k) {
  if (io_blocked() || !usable(f)) return;
  if (k < 0) {
    io_fail(kErrHandleEof);
    return;
  }
  f.position = k;
}

std::int64_t records_count(RecordFile& f) {
  return strict_count(f, "records_count");
}

bool records_at_end(RecordFile& f) {
  return f.position >= strict_count(f, "records_at_end");
}

void records_close(RecordFile& f) {
  if (f.handle == -1) return;
  int error = 0;
  // The handle is let go even after an unread failure, so that the file can
  // still be removed where open files are locked; only then is nothing
  // written out.
  bool written = io_blocked() ? true : flush_tail(f);
  bool closed = raw_close(f.handle, error);
  f.handle = -1;
  if (written && !closed && !io_blocked()) io_fail(error);
}

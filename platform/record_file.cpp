#include "platform/platform.h"

#include <cstdio>

#include "platform/io_state.h"
#include "platform/raw_file.h"

// Record files on top of the backend's raw primitives: record k lives at
// byte k * size, so every read and write is one positioned call and the
// current record is ours alone, not the handle's.

namespace {

void records_open_as(RecordFile& f, const Str255& path, int size, RawOpen mode) {
  if (io_blocked()) return;
  int error = 0;
  f.handle = raw_open(path, mode, error);
  f.size = size;
  f.position = 0;
  if (f.handle == -1) io_fail(error);
}

std::int64_t offset_of(const RecordFile& f) {
  return f.position * f.size;
}

std::size_t record_bytes(const RecordFile& f) {
  return static_cast<std::size_t>(f.size);
}

// After a record was read or written: on to the next one, or the failure.
void step_on(RecordFile& f, bool done, int error) {
  if (done) {
    ++f.position;
  } else {
    io_fail(error);
  }
}

// A strict call that could not do its work ends the run: its callers have no
// way to go on without the answer.
[[noreturn]] void strict_records_failure(const char* call, int error) {
  char message[96];
  std::snprintf(message, sizeof message, "%s: errore %d sul file di record", call, error);
  strict_failure(message);
}

// The number of whole records, or the end of the run.
std::int64_t strict_count(const RecordFile& f, const char* call) {
  int error = io_status();
  if (error == 0) {
    std::int64_t bytes = raw_size(f.handle, error);
    if (bytes >= 0 && f.size > 0) return bytes / f.size;
    if (bytes >= 0) error = kErrInvalidHandle;
  }
  strict_records_failure(call, error);
}

}  // namespace

void records_create_new(RecordFile& f, const Str255& path, int size) {
  records_open_as(f, path, size, RawOpen::kCreateNew);
}

void records_open(RecordFile& f, const Str255& path, int size) {
  records_open_as(f, path, size, RawOpen::kReadWriteExisting);
}

void records_read(RecordFile& f, unsigned char* record) {
  if (io_blocked()) return;
  int error = 0;
  bool done = raw_read_at(f.handle, offset_of(f), record, record_bytes(f), error);
  step_on(f, done, error);
}

void records_write(RecordFile& f, const unsigned char* record) {
  if (io_blocked()) return;
  int error = 0;
  bool done = raw_write_at(f.handle, offset_of(f), record, record_bytes(f), error);
  step_on(f, done, error);
}

void records_seek(RecordFile& f, std::int64_t k) {
  if (io_blocked()) return;
  if (f.handle == -1) {
    io_fail(kErrInvalidHandle);
    return;
  }
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
  if (io_blocked()) return;
  int error = 0;
  bool closed = raw_close(f.handle, error);
  f.handle = -1;
  if (!closed) io_fail(error);
}

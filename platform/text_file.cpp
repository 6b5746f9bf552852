#include "platform/platform.h"

#include <cstring>

#include "platform/io_state.h"
#include "platform/raw_file.h"

// Text files on top of the backend's raw primitives. Output is collected in
// the file's own 256-byte buffer and written only when the buffer is full or
// the file is closed, so a report line costs no system call of its own.

namespace {

void text_open(TextFile& f, const Str255& path, RawOpen mode) {
  if (io_blocked()) return;
  int error = 0;
  f.handle = raw_open(path, mode, error);
  f.used = 0;
  if (f.handle == -1) io_fail(error);
}

// Writes the buffered bytes out; the buffer is empty afterwards either way,
// since bytes that could not be written cannot be written later either.
bool text_flush(TextFile& f) {
  int n = f.used;
  f.used = 0;
  if (n == 0) return true;
  int error = 0;
  if (raw_write(f.handle, f.buffer, static_cast<std::size_t>(n), error)) return true;
  io_fail(error);
  return false;
}

void text_put_bytes(TextFile& f, std::string_view bytes) {
  constexpr int kCapacity = static_cast<int>(sizeof f.buffer);
  while (!bytes.empty()) {
    int room = kCapacity - f.used;
    int n = bytes.size() < static_cast<std::size_t>(room) ? static_cast<int>(bytes.size()) : room;
    std::memcpy(f.buffer + f.used, bytes.data(), static_cast<std::size_t>(n));
    f.used += n;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    if (f.used == kCapacity && !text_flush(f)) return;
  }
}

}  // namespace

void text_create(TextFile& f, const Str255& path) {
  text_open(f, path, RawOpen::kCreateTruncate);
}

void text_append(TextFile& f, const Str255& path) {
  text_open(f, path, RawOpen::kAppendExisting);
}

void text_put(TextFile& f, const Str255& s) {
  if (io_blocked()) return;
  text_put_bytes(f, s.view());
}

void text_put_line(TextFile& f, const Str255& s) {
  if (io_blocked()) return;
  // The line end goes in separately: s may already hold 255 characters.
  text_put_bytes(f, s.view());
  if (!io_blocked()) text_put_bytes(f, "\r\n");
}

void text_close(TextFile& f) {
  if (io_blocked()) return;
  bool flushed = text_flush(f);
  int error = 0;
  bool closed = raw_close(f.handle, error);
  f.handle = -1;
  if (flushed && !closed) io_fail(error);
}

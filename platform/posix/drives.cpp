// Drives and directories: sizes, current directories, creating and entering
// directories, removing files.

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>

#include "platform/io_state.h"
#include "platform/platform.h"
#include "platform/posix/case_lookup.h"
#include "platform/posix/drive_map.h"
#include "platform/posix/error_code.h"

namespace {

// The letter of drive number d (0 the current drive, 1 A: ... 26 Z:); 0 for
// any other number.
char letter_of(int d) {
  if (d == 0) return current_drive();
  return d >= 1 && d <= 26 ? static_cast<char>('A' + d - 1) : '\0';
}

// Bytes of drive d from its root's file system: all blocks or the free ones.
std::int64_t drive_bytes(int d, bool free_only) {
  char letter = letter_of(d);
  std::string root(letter != '\0' ? drive_root(letter) : std::string_view());
  struct statvfs info;
  if (root.empty() || statvfs(root.c_str(), &info) != 0) return -1;
  auto blocks = static_cast<std::int64_t>(free_only ? info.f_bfree : info.f_blocks);
  return blocks * static_cast<std::int64_t>(info.f_frsize);
}

// Maps path for a directory service; false (and io_status set) when it
// names nothing that could exist.
bool map_for_io(const Str255& path, UnixPath& unix_path) {
  int error = 0;
  if (map_dos_path(path.view(), false, unix_path, error)) return true;
  io_fail(error);
  return false;
}

}  // namespace

std::int64_t drive_capacity(int d) {
  return drive_bytes(d, false);
}

std::int64_t drive_free(int d) {
  return drive_bytes(d, true);
}

Str255 current_directory(int d) {
  char letter = letter_of(d);
  return letter != '\0' ? drive_directory(letter) : Str255();
}

void create_dir(const Str255& path) {
  if (io_blocked() || path.empty()) return;
  UnixPath unix_path;
  if (!map_for_io(path, unix_path)) return;
  // The parent may be written in another case, and a directory that exists
  // in another case is the one asked for: resolve before creating.
  resolve_case(unix_path);
  if (mkdir(unix_path.text.c_str(), 0777) != 0) io_fail(win32_error(errno, kErrAccessDenied));
}

void enter_dir(const Str255& path) {
  if (io_blocked() || path.empty()) return;
  UnixPath unix_path;
  if (!map_for_io(path, unix_path)) return;
  char drive_left = current_drive();
  Str255 directory_left = drive_directory(drive_left);
  int result = chdir(unix_path.text.c_str());
  if (result != 0 && case_may_differ(errno) && resolve_case(unix_path)) {
    result = chdir(unix_path.text.c_str());
  }
  if (result != 0) {
    io_fail(win32_error(errno, kErrAccessDenied));
    return;
  }
  if (unix_path.drive != drive_left) {
    drive_remember(drive_left, directory_left);
    drive_select(unix_path.drive);
  }
}

void remove_file(const Str255& path) {
  UnixPath unix_path;
  int error = 0;
  if (!map_dos_path(path.view(), false, unix_path, error)) return;
  if (unlink(unix_path.text.c_str()) != 0 && case_may_differ(errno) && resolve_case(unix_path)) {
    unlink(unix_path.text.c_str());
  }
}

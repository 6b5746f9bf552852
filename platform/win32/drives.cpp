// Drives, directories and attributes. The current directory of a drive other
// than the current one lives, as it does under the command prompt, in the
// hidden environment variable "=X:", which GetFullPathNameA("X:") reads;
// SetCurrentDirectoryA keeps no such record itself, so enter_dir writes it.

#include <cstdint>

#include "platform/io_state.h"
#include "platform/platform.h"
#include "platform/win32/win32_base.h"

namespace {

using DiskFreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// GetDiskFreeSpaceExA came with later versions of Windows 95; where kernel32
// lacks it the cluster figures of GetDiskFreeSpaceA are all there is.
DiskFreeSpaceEx disk_free_space_ex() {
  static const auto function = [] {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return DiskFreeSpaceEx{nullptr};
    // Through a plain function pointer: FARPROC has no parameters, and a direct
    // cast between unrelated function types draws a warning.
    return reinterpret_cast<DiskFreeSpaceEx>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")));
  }();
  return function;
}

struct DriveSpace {
  std::int64_t total = -1;
  std::int64_t free = -1;
};

DriveSpace drive_space(int d) {
  char root[] = "?:\\";
  const char* name = nullptr;  // the current drive
  if (d > 0) {
    root[0] = static_cast<char>('A' + d - 1);
    name = root;
  }
  DriveSpace space;
  if (const DiskFreeSpaceEx ex = disk_free_space_ex()) {
    ULARGE_INTEGER caller_free, total, total_free;
    if (ex(name, &caller_free, &total, &total_free)) {
      space.total = static_cast<std::int64_t>(total.QuadPart);
      space.free = static_cast<std::int64_t>(total_free.QuadPart);
    }
    return space;
  }
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, clusters = 0;
  if (GetDiskFreeSpaceA(name, &sectors_per_cluster, &bytes_per_sector, &free_clusters, &clusters)) {
    const auto cluster_bytes = static_cast<std::int64_t>(sectors_per_cluster) *
                               static_cast<std::int64_t>(bytes_per_sector);
    space.total = cluster_bytes * static_cast<std::int64_t>(clusters);
    space.free = cluster_bytes * static_cast<std::int64_t>(free_clusters);
  }
  return space;
}

bool is_drive_letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Where the drive of the current directory keeps its own, for later.
void remember_current_directory() {
  char here[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, here);
  if (length < 2 || length >= MAX_PATH || here[1] != ':' || !is_drive_letter(here[0])) return;
  const char name[] = {'=', upper(here[0]), ':', '\0'};
  SetEnvironmentVariableA(name, here);
}

}  // namespace

std::int64_t drive_capacity(int d) {
  return drive_space(d).total;
}

std::int64_t drive_free(int d) {
  return drive_space(d).free;
}

Str255 current_directory(int d) {
  char path[MAX_PATH];
  if (d <= 0) {
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, path);
    return length > 0 && length < MAX_PATH ? Str255(path) : Str255();
  }
  const char letter = static_cast<char>('A' + d - 1);
  const char drive[] = {letter, ':', '\0'};
  DWORD length = GetFullPathNameA(drive, MAX_PATH, path, nullptr);
  if (length == 0 || length >= MAX_PATH) return Str255(drive) + Str255("\\");
  // Wine answers "Z:" with a final backslash even below the root.
  if (length > 3 && path[length - 1] == '\\') path[--length] = '\0';
  return Str255(path);
}

std::uint16_t read_attributes(const Str255& path) {
  const DWORD attributes = GetFileAttributesA(ansi(path).text);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    os_set(last_error_status(kErrFileNotFound));
    return 0;
  }
  os_set(0);
  return static_cast<std::uint16_t>(attributes & 0xFFFF);
}

void write_attributes(const Str255& path, std::uint16_t attr) {
  os_set(SetFileAttributesA(ansi(path).text, attr) ? 0 : last_error_status(kErrAccessDenied));
}

void create_dir(const Str255& path) {
  if (io_blocked() || path.empty()) return;
  if (!CreateDirectoryA(ansi(path).text, nullptr)) io_fail(last_error_status(kErrAccessDenied));
}

void enter_dir(const Str255& path) {
  if (io_blocked() || path.empty()) return;
  AnsiText target = ansi(path);
  // "X:" alone selects drive X at its own current directory.
  if (path.length() == 2 && path[1] == ':' && is_drive_letter(path[0])) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(target.text, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
      io_fail(last_error_status(kErrPathNotFound));
      return;
    }
    target = ansi(Str255(full));
  }
  remember_current_directory();
  if (!SetCurrentDirectoryA(target.text)) {
    io_fail(last_error_status(kErrPathNotFound));
    return;
  }
  remember_current_directory();
}

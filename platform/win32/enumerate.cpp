// Directory enumeration on FindFirstFileA/FindNextFileA, in the order they
// deliver the entries, with the attribute mask applied here.

#include <cstdint>

#include "platform/io_state.h"
#include "platform/platform.h"
#include "platform/win32/win32_base.h"

namespace {

HANDLE g_find = INVALID_HANDLE_VALUE;

// Bits an entry must not have unless the mask has them too.
constexpr std::uint16_t kMaskedBits = kAttrHidden | kAttrSystem | kAttrVolume | kAttrDirectory;

void end_walk() {
  if (g_find != INVALID_HANDLE_VALUE) FindClose(g_find);
  g_find = INVALID_HANDLE_VALUE;
}

void to_entry(const WIN32_FIND_DATAA& found, DirEntry& entry) {
  entry.name = Str255(found.cFileName);
  entry.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) |
                                         found.nFileSizeLow);
  // The low 16 bits keep every DOS bit and the reparse bit (0x400) that marks
  // junctions and symbolic links.
  entry.attr = static_cast<std::uint16_t>(found.dwFileAttributes & 0xFFFF);
}

bool passes(const WIN32_FIND_DATAA& found, std::uint16_t mask) {
  return (found.dwFileAttributes & kMaskedBits & ~static_cast<DWORD>(mask)) == 0;
}

std::uint16_t g_mask = 0;

// From an entry the walk stands on, the first one the mask lets through.
bool deliver(WIN32_FIND_DATAA& found, DirEntry& entry) {
  while (!passes(found, g_mask)) {
    if (!FindNextFileA(g_find, &found)) {
      os_set(last_error_status(ERROR_NO_MORE_FILES));
      end_walk();
      return false;
    }
  }
  to_entry(found, entry);
  os_set(0);
  return true;
}

}  // namespace

bool scan_first(const Str255& pattern, std::uint16_t mask, DirEntry& entry) {
  end_walk();
  g_mask = mask;
  WIN32_FIND_DATAA found;
  g_find = FindFirstFileA(ansi(pattern).text, &found);
  if (g_find == INVALID_HANDLE_VALUE) {
    os_set(last_error_status(ERROR_FILE_NOT_FOUND));
    return false;
  }
  return deliver(found, entry);
}

bool scan_next(DirEntry& entry) {
  if (g_find == INVALID_HANDLE_VALUE) {
    os_set(ERROR_NO_MORE_FILES);
    return false;
  }
  WIN32_FIND_DATAA found;
  if (!FindNextFileA(g_find, &found)) {
    os_set(last_error_status(ERROR_NO_MORE_FILES));
    end_walk();
    return false;
  }
  return deliver(found, entry);
}

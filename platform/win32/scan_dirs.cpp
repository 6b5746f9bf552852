// The directories-only walk. FindFirstFileA delivers every entry's
// attributes with its name at no extra cost, so this is the full walk with
// the files left out.

#include "platform/platform.h"

bool scan_dirs_next(DirEntry& entry) {
  while (scan_next(entry)) {
    if ((entry.attr & kAttrDirectory) != 0) return true;
  }
  return false;
}

bool scan_dirs_first(const Str255& pattern, DirEntry& entry) {
  constexpr std::uint16_t kFilesAndDirectories = 0x37;
  if (!scan_first(pattern, kFilesAndDirectories, entry)) return false;
  return (entry.attr & kAttrDirectory) != 0 || scan_dirs_next(entry);
}

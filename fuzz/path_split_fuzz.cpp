// The splitting of a path into directory, name and extension: PATHOF, NAMEOF
// and path_split. The input, cut to 255 characters, is the path.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "zazaz32/path.h"

namespace {

void check_split(const Str255& path) {
  const Str255 p = path_backslashes(path);
  const PathParts parts = path_split(path);
  const Str255 dir = PATHOF(path);
  const Str255 name = NAMEOF(path);
  check(dir == parts.dir, "PATHOF is the directory of path_split", path.view(), dir.view());
  check(name == parts.name + parts.ext, "NAMEOF is name and extension of path_split", path.view(),
        name.view());
  check(!name.contains('\\') && !name.contains('/'), "a name holds no separator", path.view(),
        name.view());
  check(!dir.contains('/'), "the directory is written with backslashes", path.view(), dir.view());
  check(parts.ext.empty() || (parts.ext.first() == '.' && parts.ext.pos('.') == 1 &&
                              parts.ext.copy(2, Str255::kMax).pos('.') == 0),
        "an extension is one dot and what follows it", path.view(), parts.ext.view());

  // The drive part is the first character and a ":", the rest is what follows
  // the first ":" of the path; without a ":" the rest is the whole path.
  const int colon = p.pos(':');
  const Str255 rest = colon == 0 ? p : p.copy(colon + 1, Str255::kMax);
  const Str255 drive = colon == 0 ? Str255() : p.copy(1, 1) + Str255(":");
  check(dir.copy(1, drive.length()) == drive, "the directory starts with the drive part",
        path.view(), dir.view());
  // A path that starts with ":" gets a drive part of two characters for one
  // of its own, and a result past 255 characters keeps its first 255.
  if (drive.length() + rest.length() > Str255::kMax) return;
  check(dir.copy(drive.length() + 1, Str255::kMax) + name == rest,
        "directory and name together give the path", path.view(), (dir + name).view());
  check(dir.length() == drive.length() || dir.last() == '\\',
        "a directory beyond the drive ends with a backslash", path.view(), dir.view());

  // With a real drive part, or none, the directory is its own directory.
  if (colon == 0 || colon == 2) {
    check(PATHOF(dir) == dir, "PATHOF of a directory is itself", path.view(), PATHOF(dir).view());
    check(NAMEOF(dir).empty(), "a directory has no name part", path.view(), NAMEOF(dir).view());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  check_split(Str255(as_text(data, size)));
  return 0;
}

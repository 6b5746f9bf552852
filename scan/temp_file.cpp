#include "scan/temp_file.h"

#include <string>

#include "platform/platform.h"
#include "zazaz32/names.h"
#include "zazaz32/path.h"
#include "zazaz32/tokens.h"

namespace {

constexpr int kLastVariant = 99999999;
constexpr std::size_t kStemWidth = 8;
constexpr std::size_t kExtWidth = 3;

Str255 with_backslash(const Str255& directory) {
  return directory.last() == '\\' ? directory : directory + Str255("\\");
}

// Whether directory, its "\" and name fit in one path: a longer one would be
// cut to 255 characters and name some other file.
bool fits(const Str255& directory, const Str255& name) {
  int separator = directory.last() == '\\' ? 0 : 1;
  return directory.length() + separator + name.length() <= Str255::kMax;
}

// Enters home again and hands back code: every return after the check of the
// name goes through here, so the caller's current directory is never lost.
int back_home(const Str255& home, int code) {
  enter_dir(home);
  io_status();
  return code;
}

}  // namespace

Str255 TMP_CANDIDATE(const Str255& dir, const Str255& name, int n) {
  if (n > kLastVariant) return Str255();
  std::string file = name.str();
  if (n >= 0) {
    const std::string digits = std::to_string(n);
    std::size_t dot = file.find('.');
    std::string stem = file.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : file.substr(dot + 1, kExtWidth);
    while (stem.size() < kStemWidth) stem += '0';
    file = stem.substr(0, kStemWidth - digits.size()) + digits;
    if (!ext.empty()) file += "." + ext;
  }
  if (dir.length() + file.size() > Str255::kMax) return Str255();
  return dir + Str255(file);
}

Str255 TMP(const Str255& directory, const Str255& name) {
  if (!fits(directory, name)) return Str255();
  if (ISDIR(directory)) {
    const Str255 dir = with_backslash(directory);
    for (int n = -1; n <= kLastVariant; ++n) {
      Str255 candidate = TMP_CANDIDATE(dir, name, n);
      // All numbered variants have the same length: when one does not fit,
      // none does.
      if (candidate.empty()) return Str255();
      if (EXIST(candidate) == -1) return candidate;
    }
    return Str255();
  }
  // A directory just created holds no file yet, so the name itself is free.
  if (NEWDIR(directory) != 0) return Str255();
  return with_backslash(directory) + name;
}

Str255 TMPFILE(const Str255& name) {
  if (NAMEOF(name) != name || VALIDNAME(name) != 0) return Str255();
  if (name.contains('*') || name.contains('?')) return Str255();

  Str255 path = TMP(env_lookup("TMP"), name);
  if (path.empty()) path = TMP(env_lookup("TEMP"), name);
  if (path.empty()) path = TMP(with_backslash(current_directory(0)), name);
  return path;
}

int NEWDIR(const Str255& path) {
  int invalid = VALIDNAME(path);
  if (invalid != 0) return invalid;

  const Str255 home = current_directory(0);
  bool created = false;
  bool first = true;
  Str255 rest = path;

  // "X:" selects the drive at its current directory, from which a relative
  // path then goes on.
  if (rest.length() >= 2 && rest.at(2) == ':') {
    enter_dir(rest.copy(1, 2));
    if (io_status() != 0) return back_home(home, -1);
    rest = rest.copy(3, Str255::kMax);
  }

  while (!rest.empty()) {
    Str255 level;
    Str255 tail;
    TESTA_CODA(rest, "\\", level, tail);
    // The first level keeps a leading "\" so that it starts at the root; the
    // later ones lose the "\" that began their tail and are entered relative
    // to the level before. A doubled or final "\" leaves an empty level,
    // which enter_dir passes over.
    if (first) {
      first = false;
    } else {
      level = level.copy(2, Str255::kMax);
    }
    enter_dir(level);
    if (io_status() != 0) {
      if (level == Str255("..")) return back_home(home, -2);
      create_dir(level);
      if (io_status() == 0) created = true;
      enter_dir(level);
      if (io_status() != 0) return back_home(home, -3);
    }
    rest = tail;
  }
  return back_home(home, created ? 0 : -4);
}

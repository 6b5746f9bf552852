// The replacement of %NAME% references and the making of full paths:
// ESPANSIONE (FEXPAND2) and path_expand, over the real environment and
// current directory. LLVMFuzzerInitialize sets a small environment (plain
// values, a value of 200 characters, values holding references, references
// that never end) and enters a scratch directory of its own. The input, cut
// to 255 characters, is the text.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "fuzz/fuzz_check.h"
#include "platform/platform.h"
#include "zazaz32/path.h"

namespace {

std::filesystem::path scratch;
Str255 start_directory;  // the current directory, as the program names it

void remove_scratch() {
  std::error_code ignored;
  std::filesystem::current_path(scratch.parent_path(), ignored);
  std::filesystem::remove_all(scratch, ignored);
}

bool is_drive_path(const Str255& p) {
  return p.length() >= 3 && p[1] == ':' && p[2] == '\\';
}

// A full path on a drive: after "X:\" no empty piece but a final one, and no
// "." or ".." piece; when it ends in "\" the text it came from did too, or it
// is the root.
void check_full_path(const Str255& text, const Str255& full) {
  if (!is_drive_path(full)) return;
  const std::string_view rest = full.view().substr(3);
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = rest.find('\\', start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view piece = rest.substr(start, end - start);
    check(!piece.empty(), "no empty piece in a full path", text.view(), full.view());
    check(piece != "." && piece != "..", "no . or .. piece in a full path", text.view(),
          full.view());
    start = end + 1;
  }
  const Str255 p = path_backslashes(text);
  if (full.length() > 3 && full.last() == '\\') {
    check(p.empty() || p.last() == '\\', "a final backslash only where the text had one",
          text.view(), full.view());
  }
}

void check_expand(const Str255& text) {
  const Str255 full = path_expand(text);
  const Str255 p = path_backslashes(text);
  check(is_drive_path(full) || full.starts_with("\\\\"), "a full path starts at a root",
        text.view(), full.view());
  if (p.length() >= 2 && p[1] == ':' && p[0] >= 'a' && p[0] <= 'z') {
    check(full[0] == p[0] - 'a' + 'A', "the drive letter is upper-cased", text.view(), full.view());
  }
  // A result cut at 255 characters may end inside a piece; below that it is
  // complete, and expanding it again changes nothing.
  if (full.length() < Str255::kMax) {
    check_full_path(text, full);
    check(path_expand(full) == full, "a full path is its own full path", text.view(), full.view());
  }
  // ".." leads to the directory above, "." stays where it is, and at a root
  // ".." stays there.
  if (is_drive_path(full) && full.last() != '\\' && full.length() <= Str255::kMax - 3) {
    // Everything before the last "\", or the root itself.
    const int before_last = static_cast<int>(full.view().rfind('\\'));
    const Str255 parent = full.copy(1, std::max(3, before_last));
    check(path_expand(full + Str255("\\..")) == parent, "\"..\" goes up one level", text.view(),
          path_expand(full + Str255("\\..")).view());
    check(path_expand(full + Str255("\\.")) == full, "\".\" stays where it is", text.view(),
          path_expand(full + Str255("\\.")).view());
    const Str255 root = full.copy(1, 3);
    check(path_expand(root + Str255("..")) == root, "\"..\" never climbs above the root",
          text.view(), path_expand(root + Str255("..")).view());
  }
}

// What FEXPAND2 makes of a text that has no reference left in it.
Str255 full_path_of(const Str255& s) {
  Str255 full = path_expand(s);
  if (s.starts_with("\\\\")) {
    const int server = full.pos("\\\\");
    if (server != 0) full = full.copy(server, Str255::kMax);
  }
  return full;
}

void check_references(const Str255& text) {
  const Str255 replaced = ESPANSIONE(text, false);
  const Str255 full = FEXPAND2(text);
  if (!text.contains('%')) {
    check(replaced == text, "a text without % stays as it is", text.view(), replaced.view());
    check(full == full_path_of(text), "a text without % only becomes a full path", text.view(),
          full.view());
    // A known reference in front is replaced by its value, an unknown one
    // leaves the whole text alone.
    if (text.length() <= Str255::kMax - 3) {
      const Str255 known = ESPANSIONE(Str255("%A%") + text, false);
      check(known == Str255("x") + text, "a reference gives way to its value", text.view(),
            known.view());
    }
    const Str255 unknown = Str255("%UNDEF%") + text;
    check(ESPANSIONE(unknown, true) == unknown, "an unknown reference gives the text back",
          text.view());
    return;
  }
  // Either every reference was replaced and no "%" is left, or the text
  // comes back exactly as given, with no full path made of it.
  if (replaced == text) {
    check(full == text, "a text given up is given back as it was", text.view(), full.view());
  } else {
    check(!replaced.contains('%'), "no % is left in a replaced text", text.view(), replaced.view());
    check(full == full_path_of(replaced), "the replaced text becomes a full path", text.view(),
          full.view());
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Taken before TEMP is set below: the library reads TEMP for it too.
  scratch = std::filesystem::temp_directory_path() /
            ("vesk_expand_fuzz_" + std::to_string(static_cast<long>(getpid())));
  std::filesystem::create_directories(scratch / "WORK");
  std::filesystem::current_path(scratch / "WORK");
  std::atexit(remove_scratch);
  start_directory = current_directory(0);
  const std::string drive = start_directory.copy(1, 2).str();
  setenv("TEMP", (drive + "\\TMP").c_str(), 1);
  setenv("A", "x", 1);
  setenv("B", "y", 1);
  setenv("INNER", "%A%\\%B%", 1);
  setenv("SELF", "%SELF%", 1);
  setenv("PING", "%PONG%", 1);
  setenv("PONG", "%PING%", 1);
  setenv("LONG", std::string(200, 'L').c_str(), 1);
  setenv("PERCENT", "50%", 1);
  setenv("EMPTY", "", 1);
  setenv("UP", "..\\..\\..", 1);
  unsetenv("UNDEF");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Str255 text(as_text(data, size));
  check_expand(text);
  check_references(text);
  check(current_directory(0) == start_directory, "the current directory stays where it was",
        text.view(), current_directory(0).view());
  return 0;
}

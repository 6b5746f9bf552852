// The file-name checks: VALIDNAMEWIN (VALIDNAME) and NAMERESERVED. The input,
// cut to 255 characters, is the path.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "zazaz32/names.h"
#include "zazaz32/path.h"

namespace {

bool is_device(const Str255& name) {
  static const std::set<std::string> kDevices = {"AUX",  "NUL",  "PRN",  "CON",  "COM1", "COM2",
                                                 "COM3", "COM4", "LPT1", "LPT2", "LPT3", "LPT4",
                                                 "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
  return kDevices.count(UPSTR(name).str()) != 0;
}

Str255 lower(const Str255& s) {
  Str255 result = s;
  for (int i = 0; i < result.length(); ++i) {
    if (result[i] >= 'A' && result[i] <= 'Z') result[i] = static_cast<char>(result[i] + 32);
  }
  return result;
}

void check_reserved(const Str255& path) {
  const bool reserved = NAMERESERVED(path);
  check(reserved == is_device(path_split(path).name),
        "reserved exactly when the name part is a device", path.view());
  check(NAMERESERVED(lower(path)) == reserved && NAMERESERVED(UPSTR(path)) == reserved,
        "case does not count", path.view());
  if (path.length() <= Str255::kMax - 2) {
    check(NAMERESERVED(Str255("X\\") + path) == reserved, "the directory does not count",
          path.view());
  }
}

// What a path that passes has to be, rule by rule; each rule is read off
// the text alone.
void check_passed(const Str255& s) {
  const std::string_view v = s.view();
  check(!s.empty() && s.last() != '.', "a valid path is not empty and does not end in a dot", v);
  const bool server = s.starts_with("\\\\");
  const bool drive = !server && s.length() >= 2 && s[1] == ':';
  if (drive) {
    check((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'), "a drive is a letter", v);
  }
  for (int i = 0; i < s.length(); ++i) {
    const char c = s[i];
    if (c == ':') check(drive && i == 1, "no : but the drive's", v);
    if (server) continue;  // a server path has only its ":" refused
    check(static_cast<unsigned char>(c) >= 32, "no control character", v);
    check(std::string_view("/|<>\"").find(c) == std::string_view::npos, "no reserved character", v);
  }
  const std::size_t last_backslash = v.rfind('\\');
  const std::size_t wildcard = v.find_first_of("*?");
  check(wildcard == std::string_view::npos || last_backslash == std::string_view::npos ||
            wildcard > last_backslash,
        "wildcards only in the last piece", v);
  // The pieces between backslashes, after the drive part.
  const std::string_view pieces = drive ? v.substr(2) : v;
  check(pieces.find("\\\\", 1) == std::string_view::npos, "no doubled backslash inside", v);
  std::size_t start = 0;
  while (start <= pieces.size()) {
    std::size_t end = pieces.find('\\', start);
    if (end == std::string_view::npos) end = pieces.size();
    const Str255 piece(pieces.substr(start, end - start));
    check(!NAMERESERVED(piece), "no piece is a device name", v, piece.view());
    start = end + 1;
  }
}

void check_valid(const Str255& s) {
  const int fault = VALIDNAMEWIN(s);
  check(VALIDNAME(s) == fault, "VALIDNAME is the long-name rule", s.view());
  check(fault >= 0 && fault <= (s.empty() ? 1 : s.length()), "a fault lies within the path",
        s.view(), std::to_string(fault));
  if (s.empty()) check(fault == 1, "the empty path fails at 1", s.view());
  if (!s.empty() && s.last() == '.') {
    check(fault == s.length(), "a final dot fails at its place", s.view(), std::to_string(fault));
  }
  if (fault == 0) check_passed(s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Str255 path(as_text(data, size));
  check_reserved(path);
  check_valid(path);
  return 0;
}

#include "zazaz32/path.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "zazaz32/tokens.h"

Str255 path_backslashes(const Str255& path) {
  Str255 result = path;
  for (int i = 0; i < result.length(); ++i) {
    if (result[i] == '/') result[i] = '\\';
  }
  return result;
}

PathParts path_split(const Str255& path) {
  const Str255 p = path_backslashes(path);
  PathParts parts;
  // The drive part is the first character and ":", whatever stands between
  // them, so that a malformed drive still ends up in the directory part.
  Str255 rest = p;
  int colon = p.pos(':');
  if (colon != 0) {
    parts.dir = p.copy(1, 1) + Str255(":");
    rest = p.copy(colon + 1, Str255::kMax);
  }
  int last_backslash = POSRL("\\", rest, Str255::kMax);
  parts.dir += rest.copy(1, last_backslash);
  const Str255 file = rest.copy(last_backslash + 1, Str255::kMax);
  int dot = POSRL(".", file, Str255::kMax);
  if (dot == 0) {
    parts.name = file;
  } else {
    parts.name = file.copy(1, dot - 1);
    parts.ext = file.copy(dot, Str255::kMax);
  }
  return parts;
}

Str255 PATHOF(const Str255& path) {
  return path_split(path).dir;
}

Str255 NAMEOF(const Str255& path) {
  PathParts parts = path_split(path);
  return parts.name + parts.ext;
}

Str255 UPSTR(const Str255& text) {
  Str255 result = text;
  for (int i = 0; i < result.length(); ++i) {
    if (result[i] >= 'a' && result[i] <= 'z') result[i] = static_cast<char>(result[i] - 'a' + 'A');
  }
  return result;
}

namespace {

// Passes of ESPANSIONE before its text counts as unusable. A text of 255
// characters holds at most 127 references, so every expansion that ends at
// all ends well within this; only references that keep producing references
// (a variable naming itself, two naming each other) reach it.
constexpr int kMaxSubstitutions = 256;

// Length of the root at the start of an absolute path: "X:\" (or "X:" when
// no "\" follows), or "\\SERVER\SHARE\" for a server path (all of it when
// the share or the server is its last piece).
std::size_t root_length(std::string_view full) {
  if (full.starts_with("\\\\")) {
    std::size_t server_end = full.find('\\', 2);
    if (server_end == std::string_view::npos) return full.size();
    std::size_t share_end = full.find('\\', server_end + 1);
    return share_end == std::string_view::npos ? full.size() : share_end + 1;
  }
  return full.size() >= 3 && full[2] == '\\' ? 3 : 2;
}

std::string with_backslash(std::string s) {
  if (!s.ends_with('\\')) s += '\\';
  return s;
}

// The root of an absolute path, always ending in "\".
std::string root_of(std::string_view full) {
  return with_backslash(std::string(full.substr(0, root_length(full))));
}

// root followed by the pieces of the rest, "." dropped, ".." taking back the
// piece before it (never the root), empty pieces of doubled "\" dropped.
std::string resolve_pieces(const std::string& root, std::string_view rest) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\\', start);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view piece = rest.substr(start, end - start);
    if (piece == "..") {
      if (!pieces.empty()) pieces.pop_back();
    } else if (!piece.empty() && piece != ".") {
      pieces.push_back(piece);
    }
    start = end + 1;
  }
  std::string full = root;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) full += '\\';
    full += pieces[i];
  }
  return full;
}

// The directory a relative path with drive letter starts from: that drive's
// current directory, which is its root when the drive cannot be selected.
std::string drive_base(char letter) {
  if (!LETTERS(letter)) return std::string(1, letter) + ":\\";
  return current_directory(letter - 'A' + 1).str();
}

}  // namespace

Str255 path_expand(const Str255& path) {
  std::string p = path_backslashes(path).str();
  if (p == "\\\\") return Str255(p);

  // Everything is first made absolute, then resolved piece by piece below
  // its root, so that ".." can never climb out of the root.
  std::string absolute;
  if (p.size() >= 2 && p[1] == ':') {
    char letter = UPSTR(Str255(p[0])).first();
    std::string after = p.substr(2);
    if (after.starts_with('\\')) {
      absolute = std::string(1, letter) + ":" + after;
    } else {
      absolute = with_backslash(drive_base(letter)) + after;
    }
  } else if (p.starts_with("\\\\")) {
    absolute = p;
  } else if (p.starts_with('\\')) {
    absolute = root_of(current_directory(0).view()) + p.substr(1);
  } else {
    absolute = with_backslash(current_directory(0).str()) + p;
  }

  std::string_view whole(absolute);
  std::string root = root_of(whole);
  std::string full = resolve_pieces(root, whole.substr(root_length(whole)));
  if (full.size() > root.size() && (p.empty() || p.ends_with('\\'))) full += '\\';
  return Str255(full);
}

Str255 ESPANSIONE(const Str255& text, bool full) {
  Str255 s = text;
  for (int substitutions = 0;; ++substitutions) {
    int p1 = s.pos('%');
    if (p1 == 0) break;
    int after = s.copy(p1 + 1, Str255::kMax).pos('%');
    if (after == 0) break;
    int p2 = p1 + after;
    Str255 value = env_lookup(s.copy(p1 + 1, p2 - p1 - 1));
    if (value.empty()) break;
    if (substitutions == kMaxSubstitutions) return text;
    // The whole text is scanned again, so a value holding "%" takes part.
    s = s.copy(1, p1 - 1) + value + s.copy(p2 + 1, Str255::kMax);
  }
  // A reference left over makes the whole text unusable: none of the
  // substitutions survives.
  if (s.contains('%')) return text;
  if (!full) return s;
  if (s.starts_with("\\\\")) {
    Str255 expanded = path_expand(s);
    int server = expanded.pos("\\\\");
    return server == 0 ? expanded : expanded.copy(server, Str255::kMax);
  }
  return path_expand(s);
}

Str255 FEXPAND2(const Str255& text) {
  return ESPANSIONE(text, true);
}

bool ISDIR(const Str255& path) {
  // A doubled backslash after the first character never names a directory;
  // at the start it is the root of a server path, which is only refused
  // when nothing follows it.
  if (path.copy(2, Str255::kMax).pos("\\\\") != 0) return false;
  if (path.empty() || path == Str255("\\\\")) return false;
  std::uint16_t attr = read_attributes(path);
  if (os_status() != 0) return false;
  return (attr & kAttrDirectory) != 0;
}

std::int64_t EXIST(const Str255& path) {
  // A name ending in "." would match the name without it, and a wildcard
  // would match other files: neither names one existing file.
  if (path.empty() || path.last() == '.') return -1;
  if (path.contains('*') || path.contains('?')) return -1;
  // Mask 0x66 lets hidden and system files through (read-only and archive
  // ones always pass) and leaves directories and volume labels out.
  constexpr std::uint16_t kAnyFile = 0x66;
  DirEntry entry;
  scan_first(path, kAnyFile, entry);
  if (os_status() != 0) return -1;
  // The real 64-bit length: a file of 2 GiB or more must not look absent.
  return entry.size;
}

#include "zazaz32/names.h"

#include "zazaz32/path.h"
#include "zazaz32/tokens.h"

namespace {

// Position of the first member of the reserved set, taken in the set's order,
// that occurs in s; 0 when none does. The order matters: for "a>b:c" it is
// the ":" at 4 that is reported, not the ">" before it.
int CHARRESERVED(const Str255& s, bool refuse_wildcards) {
  Str255 set("/:|<>\"");
  if (refuse_wildcards) set += std::string_view("?*");
  for (int code = 0; code <= 31; ++code) set += static_cast<char>(code);
  for (int i = 0; i < set.length(); ++i) {
    int at = s.pos(set[i]);
    if (at != 0) return at;
  }
  return 0;
}

// Position of the first "?" or "*" of s, 257 when it holds neither (beyond
// any position of a 255-character text).
int first_wildcard(const Str255& s) {
  constexpr int kNone = 257;
  int question = s.pos('?');
  int star = s.pos('*');
  if (question == 0) question = kNone;
  if (star == 0) star = kNone;
  return question < star ? question : star;
}

}  // namespace

bool NAMERESERVED(const Str255& path) {
  const Str255 name = UPSTR(path_split(path).name);
  if (name.length() > 4) return false;
  Str255 padded = name;
  while (padded.length() < 4) padded += ' ';
  const Str255 stem = padded.copy(1, 3);
  const char digit = padded.at(4);
  if (stem == Str255("COM") && digit >= '1' && digit <= '4') return true;
  if (stem == Str255("LPT") && digit >= '1' && digit <= '9') return true;
  return name == Str255("AUX") || name == Str255("NUL") || name == Str255("PRN") ||
         name == Str255("CON");
}

int VALIDNAMEWIN(const Str255& s) {
  if (s.empty()) return 1;
  if (s.last() == '.') return s.length();

  const bool has_drive = s.at(2) == ':';
  if (s.starts_with("\\\\")) {
    // A server path: only a ":" is refused here.
    if (s.contains(':')) return s.pos(':');
  } else if (has_drive) {
    // The drive's own ":" is taken out for the test; positions after it are
    // shifted back to count in s.
    int r = CHARRESERVED(FDELETE(s, 2, 1), false);
    if (r != 0) return r > 1 ? r + 1 : r;
  } else {
    int r = CHARRESERVED(s, false);
    if (r != 0) return r;
  }

  // Wildcards are allowed only in the last piece.
  int wildcard = first_wildcard(s);
  if (POSRL("\\", s, Str255::kMax) > wildcard) return wildcard;

  Str255 t = s;
  if (has_drive) {
    if (!LETTERS(s.at(1))) return 1;
    t = s.copy(3, Str255::kMax);
  }
  int doubled = t.copy(2, Str255::kMax).pos("\\\\");
  if (doubled != 0) return doubled;
  // The server name of "\\SERVER\SHARE" is then checked as an ordinary piece.
  if (t.starts_with("\\\\")) t[0] = 'A';

  while (!t.empty()) {
    Str255 piece;
    Str255 rest;
    TESTA_CODA(t, "\\", piece, rest);
    if (piece.first() == '\\' && piece.length() > 1) piece = piece.copy(2, Str255::kMax);
    if (piece.empty() || NAMERESERVED(piece)) {
      return s.length() - rest.length() + 1 - piece.length();
    }
    t = rest;
  }
  return 0;
}

int VALIDNAME(const Str255& path) {
  return VALIDNAMEWIN(path);
}

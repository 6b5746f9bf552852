#include "zazaz32/tokens.h"

namespace {

// First position in s of any character of set, 0 when none occurs.
int first_of(const Str255& s, const Str255& set) {
  std::size_t at = s.view().find_first_of(set.view());
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

}  // namespace

void TESTA_CODA(const Str255& source, const Str255& separators, Str255& head, Str255& tail) {
  // Copies first: callers pass the same variable as source and head.
  const Str255 s = source;
  const Str255 set = SINGLE(separators);
  head = s;
  tail = Str255();
  if (s.length() < 2 || set.empty()) return;

  int p1 = first_of(s, set);
  if (p1 == 0) return;
  if (p1 > 1) {
    head = s.copy(1, p1 - 1);
    tail = s.copy(p1, Str255::kMax);
    return;
  }
  // A leading separator stays with its token; the token ends before the
  // second separator, which then starts the tail. p2 counts within s less its
  // first character, so s's own 1..p2 is exactly that token.
  int p2 = first_of(s.copy(2, Str255::kMax), set);
  if (p2 == 0) return;
  head = s.copy(1, p2);
  tail = s.copy(p2 + 1, Str255::kMax);
}

Str255 SINGLE(const Str255& s) {
  Str255 kept;
  for (int i = 0; i < s.length(); ++i) {
    if (!kept.contains(s[i])) kept += s[i];
  }
  return kept;
}

Str255 FDELETE(const Str255& s, int index, int count) {
  if (index < 1 || index > s.length() || count < 1) return s;
  int removed = count < s.length() - index + 1 ? count : s.length() - index + 1;
  return s.copy(1, index - 1) + s.copy(index + removed, Str255::kMax);
}

int POSRL(const Str255& sub, const Str255& s, int n) {
  const Str255 part = s.copy(1, n);
  const int width = sub.length();
  if (width == 0 || width > part.length()) return 0;
  for (int end = part.length(); end >= width; --end) {
    if (part.view().substr(static_cast<std::size_t>(end - width), width) == sub.view()) {
      return end - width + 1;
    }
  }
  return 0;
}

bool LETTERS(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

Str255 FREECHAR(const Str255& chars, const Str255& s) {
  Str255 kept;
  for (int i = 0; i < s.length(); ++i) {
    if (!chars.contains(s[i])) kept += s[i];
  }
  return kept;
}

#include "platform/cmdline/command_line.h"

#include <string>

namespace {

bool is_separator(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

bool is_quote(char c) {
  return c == '"' || c == '\'';
}

}  // namespace

std::vector<Str255> cut_command_line(std::string_view line) {
  std::vector<Str255> pieces;
  // The piece is gathered in a std::string and cut only when it is complete:
  // a quote pair far beyond the 255th character must not change the result.
  std::string piece;
  char open = '\0';  // the quote of the stretch we are in, or none
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (open == '\0' && is_separator(c)) {
      if (!piece.empty()) pieces.emplace_back(piece);
      piece.clear();
      continue;
    }
    if (is_quote(c) && (open == '\0' || open == c)) {
      if (i + 1 < line.size() && line[i + 1] == c) {
        ++i;  // a pair: both dropped, the stretch stays as it was
      } else {
        open = open == '\0' ? c : '\0';
      }
      continue;
    }
    piece += c;
  }
  if (!piece.empty()) pieces.emplace_back(piece);
  return pieces;
}

#include "platform/posix/console_text.h"

#include <cstring>

namespace {

// Code page 437's pictures for the bytes 0 to 31; 0 is a blank cell. The
// entries of CR, LF, BS and BEL are never shown, those bytes act instead.
constexpr const char* kGlyphs[32] = {
    " ",      "\u263A", "\u263B", "\u2665", "\u2666", "\u2663", "\u2660", "\u2022",
    "\u25D8", "\u25CB", "\u25D9", "\u2642", "\u2640", "\u266A", "\u266B", "\u263C",
    "\u25BA", "\u25C4", "\u2195", "\u203C", "\u00B6", "\u00A7", "\u25AC", "\u21A8",
    "\u2191", "\u2193", "\u2192", "\u2190", "\u221F", "\u2194", "\u25B2", "\u25BC",
};
constexpr const char* kDeleteGlyph = "\u2302";

struct Output {
  char* out;
  std::size_t length = 0;
  void put(std::string_view bytes) {
    std::memcpy(out + length, bytes.data(), bytes.size());
    length += bytes.size();
  }
};

// The character in hand is complete: its column is taken.
void advance(ConsoleCursor& cursor, Output& output) {
  if (cursor.column >= cursor.width) {
    output.put(cursor.newline_returns ? "\n" : "\r\n");
    cursor.column = 1;
  } else {
    ++cursor.column;
  }
}

// A character broken off before its last UTF-8 byte still took its column.
void finish_pending(ConsoleCursor& cursor, Output& output) {
  if (cursor.utf8_left == 0) return;
  cursor.utf8_left = 0;
  advance(cursor, output);
}

int continuation_bytes(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

}  // namespace

std::size_t render_console_text(std::string_view text, ConsoleCursor& cursor, char* out) {
  Output output{out};
  if (cursor.width < 1) cursor.width = 80;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    auto byte = static_cast<unsigned char>(c);
    if (cursor.utf8_left > 0 && (byte & 0xC0) == 0x80) {
      output.put(std::string_view(&c, 1));
      if (--cursor.utf8_left == 0) advance(cursor, output);
      continue;
    }
    finish_pending(cursor, output);
    switch (byte) {
      case '\r':
        // Before an LF that the terminal sends as CR LF the CR is in it.
        if (!cursor.newline_returns || i + 1 == text.size() || text[i + 1] != '\n') {
          output.put("\r");
        }
        cursor.column = 1;
        continue;
      case '\n':
        output.put(cursor.newline_returns && cursor.column > 1 ? "\x1b"
                                                                 "D"
                                                               : "\n");
        continue;
      case '\b':
        if (cursor.column > 1) {
          output.put("\b");
          --cursor.column;
        }
        continue;
      case '\a':
        continue;
      default:
        break;
    }
    if (byte < 32) {
      output.put(kGlyphs[byte]);
    } else if (byte == 0x7F) {
      output.put(kDeleteGlyph);
    } else {
      output.put(std::string_view(&c, 1));
      cursor.utf8_left = continuation_bytes(byte);
      if (cursor.utf8_left > 0) continue;
    }
    advance(cursor, output);
  }
  return output.length;
}

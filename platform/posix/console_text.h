#ifndef VESK_PLATFORM_POSIX_CONSOLE_TEXT_H_
#define VESK_PLATFORM_POSIX_CONSOLE_TEXT_H_

// What goes to the terminal for a text, and where the cursor stands after
// it, the way a Win32 console shows the same text. Pure.
//
// A printable character takes one column; when it lands in the last column
// the cursor moves to column 1 of the next row, and "\r\n" is sent at that
// point so that the terminal is there too instead of holding a pending wrap.
// CR goes to column 1, LF to the next row in the same column, BS one column
// left unless in column 1; BEL is dropped. Where the terminal itself turns
// LF into CR LF, a line end goes out as the LF alone (so the terminal shows
// "\r\n", not "\r\r\n") and an LF away from column 1 as an index (ESC D),
// which moves down only. The other control characters
// (and DEL) are shown as their code page 437 glyphs in UTF-8, one column
// each, so that none reaches the terminal raw; 0 shows as a blank. Bytes
// 128-255 pass unchanged; a UTF-8 sequence among them takes one column.

#include <cstddef>
#include <string_view>

struct ConsoleCursor {
  int column = 1;                // 1-based
  int width = 80;                // columns of the terminal
  bool newline_returns = false;  // the terminal sends LF as CR LF (ONLCR)
  int utf8_left = 0;             // continuation bytes still due for the character in hand
};

// The most bytes render_console_text writes for one byte of text.
constexpr std::size_t kRenderedBytesPerByte = 7;

// Writes the terminal's bytes for text into out (room for
// kRenderedBytesPerByte bytes per byte of text) and moves cursor along;
// returns the number of bytes written.
std::size_t render_console_text(std::string_view text, ConsoleCursor& cursor, char* out);

#endif  // VESK_PLATFORM_POSIX_CONSOLE_TEXT_H_

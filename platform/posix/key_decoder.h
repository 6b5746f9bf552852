#ifndef VESK_PLATFORM_POSIX_KEY_DECODER_H_
#define VESK_PLATFORM_POSIX_KEY_DECODER_H_

// Turns the bytes a terminal sends into PC keys. Pure.
//
// A key with a character gives its code: letters and digits themselves,
// Enter 13, Escape 27, Backspace 8 (the terminal's DEL), control keys 1-31.
// Keys that arrive as escape sequences give code 0 and a PC scan code: Up
// 72, Down 80, Left 75, Right 77, Home 71, End 79, PgUp 73, PgDn 81, Ins 82,
// Del 83, F1-F10 59-68, F11 133, F12 134, Shift+Tab 15; an Alt combination
// (Escape and a character) the scan code of the character's key (0 where
// none is known). Modifiers on a sequence are ignored. A sequence that is
// not known is still one key: code 0, scan code 0.
//
// A cursor position report (ESC [ row ; column R), the terminal's answer to
// ESC [6n, is no key: it is reported as such so that the answer is taken at
// start and dropped whenever it comes late.

#include <string_view>

struct KeyDecode {
  enum class Kind {
    kNeedMore,      // bytes is empty or the start of a longer sequence
    kKey,           // a key: code, and scan when code is 0
    kCursorReport,  // a cursor position report: row, column
    kDropped,       // bytes that give no key (a sequence broken off)
  };
  Kind kind = Kind::kNeedMore;
  int length = 0;  // bytes taken from the front of the input
  int code = 0;
  int scan = 0;
  int row = 0;
  int column = 0;
};

// Decodes the front of bytes. complete says that no more bytes will follow
// soon (the terminal has been quiet for a while): an Escape at the end is
// then the Escape key and not the start of a sequence.
KeyDecode decode_key(std::string_view bytes, bool complete);

#endif  // VESK_PLATFORM_POSIX_KEY_DECODER_H_

// Console output on the Win32 screen buffer. Text goes into the buffer with
// WriteConsoleOutputA at a cursor this file keeps itself, so CR, LF, BS and BEL
// mean the same on every console, whatever its output mode, and wrapping and
// scrolling are ours too.

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_base.h"

namespace {

constexpr char kWriteFailed[] = "Scrittura sulla console non riuscita";

HANDLE g_out = INVALID_HANDLE_VALUE;
HANDLE g_in = INVALID_HANDLE_VALUE;
DWORD g_in_mode_at_start = 0;
bool g_in_mode_changed = false;

SHORT g_width = 80;
SHORT g_height = 25;
WORD g_attributes = 0x07;  // the colours found at start
SHORT g_x = 0;             // cursor, 0-based, always inside the buffer
SHORT g_y = 0;

// The characters of the row being written, not yet in the buffer.
std::vector<CHAR_INFO> g_run;
SHORT g_run_x = 0;

HANDLE open_console(const char* name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

void flush_run() {
  if (g_run.empty()) return;
  const auto count = static_cast<SHORT>(g_run.size());
  SMALL_RECT region{g_run_x, g_y, static_cast<SHORT>(g_run_x + count - 1), g_y};
  if (!WriteConsoleOutputA(g_out, g_run.data(), COORD{count, 1}, COORD{0, 0}, &region)) {
    strict_failure(kWriteFailed);
  }
  g_run.clear();
}

// Moves the cursor to the next row; from the last row the whole buffer moves
// up one row and the last row is emptied in the colours of the text.
void next_row() {
  flush_run();
  if (g_y + 1 < g_height) {
    ++g_y;
    return;
  }
  CHAR_INFO fill;
  fill.Char.AsciiChar = ' ';
  fill.Attributes = g_attributes;
  if (g_height > 1) {
    const SMALL_RECT below_top{0, 1, static_cast<SHORT>(g_width - 1),
                               static_cast<SHORT>(g_height - 1)};
    if (!ScrollConsoleScreenBufferA(g_out, &below_top, nullptr, COORD{0, 0}, &fill)) {
      strict_failure(kWriteFailed);
    }
  } else {
    DWORD done = 0;
    FillConsoleOutputCharacterA(g_out, ' ', static_cast<DWORD>(g_width), COORD{0, 0}, &done);
    FillConsoleOutputAttribute(g_out, g_attributes, static_cast<DWORD>(g_width), COORD{0, 0},
                               &done);
  }
}

void put_character(char c) {
  if (g_run.empty()) g_run_x = g_x;
  CHAR_INFO cell;
  cell.Char.AsciiChar = c;
  cell.Attributes = g_attributes;
  g_run.push_back(cell);
  ++g_x;
  // The cursor never rests past the last column: as on a DOS screen it goes
  // to the start of the next row at once, so a row filled to the last column
  // and then ended with CR LF leaves an empty row below it.
  if (g_x == g_width) {
    g_x = 0;
    next_row();
  }
}

void put_text(std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '\r':
        flush_run();
        g_x = 0;
        break;
      case '\n':
        next_row();
        break;
      case '\b':
        flush_run();
        if (g_x > 0) --g_x;
        break;
      case '\a':
        break;
      default:
        put_character(c);
    }
  }
  flush_run();
  if (!SetConsoleCursorPosition(g_out, COORD{g_x, g_y})) strict_failure(kWriteFailed);
}

}  // namespace

bool console_connect() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  g_out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!GetConsoleScreenBufferInfo(g_out, &info)) {
    // Standard output is a file or a pipe: the report still goes to the
    // console the program runs in.
    g_out = open_console("CONOUT$");
    if (g_out == INVALID_HANDLE_VALUE) {
      write_stderr_line("No way to get the console handle");
      return false;
    }
    if (!GetConsoleScreenBufferInfo(g_out, &info)) {
      write_stderr_line("No way to get console screen buffer info");
      return false;
    }
  }
  g_width = info.dwSize.X;
  g_height = info.dwSize.Y;
  g_attributes = info.wAttributes;
  g_x = info.dwCursorPosition.X;
  g_y = info.dwCursorPosition.Y;
  g_run.reserve(static_cast<std::size_t>(g_width));

  DWORD mode = 0;
  g_in = GetStdHandle(STD_INPUT_HANDLE);
  if (!GetConsoleMode(g_in, &mode)) {
    g_in = open_console("CONIN$");
    if (g_in == INVALID_HANDLE_VALUE || !GetConsoleMode(g_in, &mode)) {
      // No keyboard: the key services report no key, and a prompt that
      // must wait for one ends the program.
      g_in = INVALID_HANDLE_VALUE;
      return true;
    }
  }
  // Keys only: no mouse or window events in the queue, no line editing, and
  // Ctrl+C as a signal to the handler of the process. The quick-edit and
  // insert settings are the user's and stay.
  const DWORD kept = mode & (ENABLE_EXTENDED_FLAGS | ENABLE_QUICK_EDIT_MODE | ENABLE_INSERT_MODE);
  if (SetConsoleMode(g_in, kept | ENABLE_PROCESSED_INPUT)) {
    g_in_mode_at_start = mode;
    g_in_mode_changed = true;
  }
  return true;
}

void console_restore() {
  if (g_in_mode_changed) SetConsoleMode(g_in, g_in_mode_at_start);
  g_in_mode_changed = false;
}

HANDLE console_input() {
  return g_in;
}

void con_put(const Str255& s) {
  put_text(s.view());
}

void con_put_line(const Str255& s) {
  put_text(s.view());
  put_text("\r\n");
}

int con_column() {
  return g_x + 1;
}

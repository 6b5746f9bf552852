#ifndef VESK_PLATFORM_WIN32_WIN32_BASE_H_
#define VESK_PLATFORM_WIN32_WIN32_BASE_H_

// What every file of the Win32 backend needs: NUL-terminated copies of our
// strings for the ANSI API, the translation of GetLastError into our status
// numbers, and the connection between the console and the process services.

#include <windows.h>

#include "zazaz32/str255.h"

// A Str255 with its NUL, ready for the A functions.
struct AnsiText {
  char text[Str255::kMax + 1];
};
AnsiText ansi(const Str255& s);

// The status number for a failed call, from GetLastError. Our numbers are the
// Win32 ones; fallback stands in when the call left no error behind.
int last_error_status(int fallback);

// Connects the console at start: the screen buffer and the keyboard, through
// "CONOUT$" and "CONIN$" when the standard handles are redirected. Returns
// false after writing the reason on standard error.
bool console_connect();
// Gives the console input back the mode it had at start.
void console_restore();
HANDLE console_input();

// Writes one line to standard error, whatever it is connected to.
void write_stderr_line(const char* text);

#endif  // VESK_PLATFORM_WIN32_WIN32_BASE_H_

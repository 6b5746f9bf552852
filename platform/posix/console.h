#ifndef VESK_PLATFORM_POSIX_CONSOLE_H_
#define VESK_PLATFORM_POSIX_CONSOLE_H_

// The console is the controlling terminal, opened as /dev/tty, so that it is
// reached whatever standard input and output are.

// Opens the terminal, keeps its modes, switches its input to single keys
// without echo (signals from the keyboard stay on), and takes the cursor
// column from the terminal. False when the process has no terminal.
bool console_open();

// Gives the terminal back the modes it had at console_open. Safe in a
// signal handler, and harmless to repeat.
void console_restore();

#endif  // VESK_PLATFORM_POSIX_CONSOLE_H_

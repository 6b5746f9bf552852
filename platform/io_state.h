#ifndef VESK_PLATFORM_IO_STATE_H_
#define VESK_PLATFORM_IO_STATE_H_

// The status cells behind io_status() and os_status(), shared by the common
// file code and the backends. Not for the core.

// True while an earlier failure has not been read with io_status(): every
// text, record and directory operation then does nothing.
bool io_blocked();
void io_fail(int error);

void os_set(int status);

#endif  // VESK_PLATFORM_IO_STATE_H_

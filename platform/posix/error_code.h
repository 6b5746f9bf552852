#ifndef VESK_PLATFORM_POSIX_ERROR_CODE_H_
#define VESK_PLATFORM_POSIX_ERROR_CODE_H_

// The one translation of errno values into the Win32 error numbers that the
// services report (platform.h). fallback is the number for an errno value
// that has no better counterpart: a read fault for reads, a write fault for
// writes, access denied elsewhere.
int win32_error(int errnum, int fallback);

#endif  // VESK_PLATFORM_POSIX_ERROR_CODE_H_

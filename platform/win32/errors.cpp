#include "platform/win32/win32_base.h"

#include <cstring>

#include "platform/platform.h"

AnsiText ansi(const Str255& s) {
  AnsiText result;
  std::memcpy(result.text, s.data(), static_cast<std::size_t>(s.length()));
  result.text[s.length()] = '\0';
  return result;
}

int last_error_status(int fallback) {
  const DWORD error = GetLastError();
  switch (error) {
    case ERROR_SUCCESS:
      return fallback;
    // The two "disk full" numbers mean the same to the program; the one the
    // rest of the code knows is ERROR_DISK_FULL.
    case ERROR_HANDLE_DISK_FULL:
      return kErrDiskFull;
    default:
      // Win32 error numbers stay below 16000; anything larger is an NTSTATUS
      // or HRESULT that slipped through and must still read as a failure.
      return error < 0x10000 ? static_cast<int>(error) : fallback;
  }
}

void write_stderr_line(const char* text) {
  const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(err, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
  WriteFile(err, "\r\n", 2, &written, nullptr);
}

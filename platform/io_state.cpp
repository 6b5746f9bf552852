#include "platform/io_state.h"

#include "platform/platform.h"

// Two cells, one per family of services. The io cell holds the first failure
// until io_status() reads it; the os cell simply holds the last result.
namespace {

int io_cell = 0;
int os_cell = 0;

}  // namespace

bool io_blocked() {
  return io_cell != 0;
}

void io_fail(int error) {
  // Only the first failure counts: later operations do nothing while it is
  // pending, so a second call can only come from a caller that ignored that.
  if (io_cell == 0) io_cell = error != 0 ? error : kErrAccessDenied;
}

int io_status() {
  int status = io_cell;
  io_cell = 0;
  return status;
}

void os_set(int status) {
  os_cell = status;
}

int os_status() {
  return os_cell;
}

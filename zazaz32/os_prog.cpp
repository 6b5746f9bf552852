#include "zazaz32/os_prog.h"

#include "platform/platform.h"

// The platform layer is the only place that knows which system it was built
// for; the utility module just passes its name on.
Str255 OS_PROG() {
  return platform_name();
}

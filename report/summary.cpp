#include "report/summary.h"

#include <cstdint>
#include <string>

#include "driver/errors.h"
#include "driver/output.h"
#include "driver/state.h"
#include "platform/platform.h"
#include "report/number_format.h"
#include "report/percent.h"
#include "zazaz32/path.h"

namespace {

constexpr std::int64_t kMb = 1048576;

Str255 decimal(std::int64_t v) {
  return Str255(std::to_string(v));
}

// The figure in bytes, then its Mb piece when it reaches one megabyte.
void bytes_and_mb(const Str255& label, std::int64_t v) {
  WRITE2(label + DIM_PUNTO(v) + " bytes    ");
  std::int64_t m = v / kMb;
  if (m > 0) WRITE2(DIM_PUNTO(m) + " Mb    ");
}

}  // namespace

void RESOCONTO(char letter) {
  int number = static_cast<unsigned char>(letter) - 64;
  std::int64_t size = number >= 0 ? drive_capacity(number) : -1;
  if (size == -1) ERR(kErrBadDrive);
  WRITELN2(Str255("Unita'         : ") + letter);
  bytes_and_mb("Dimensione     : ", size);
  WRITELN2("");
  std::int64_t free = drive_free(number);
  std::int64_t used = size - free;
  // A drive that reports no size at all is shown as wholly free.
  std::int64_t p = size == 0 ? 0 : PERCENTUALE(used, size);
  bytes_and_mb("Spazio Libero  : ", free);
  WRITELN2(decimal(100 - p) + "%");
  bytes_and_mb("Spazio Occupato: ", used);
  WRITELN2(decimal(p) + "%");
  if (SUB) {
    WRITELN2(Str255("Trovati ") + DIM_PUNTO(TOT_COUNT) + " files " + NAMEOF(NOMEFILE));
    std::int64_t q = size == 0 ? 100 : PERCENTUALE(size - TOT_SIZE, size);
    bytes_and_mb("Occupano ", TOT_SIZE);
    WRITELN2("(" + decimal(100 - q) + "%)");
  }
  WRITELN2("---FINE---");
  WRITELN2("");
}

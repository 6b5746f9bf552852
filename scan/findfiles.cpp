#include "scan/findfiles.h"

#include <cstdint>

#include "driver/output.h"
#include "driver/state.h"
#include "platform/platform.h"
#include "report/number_format.h"
#include "zazaz32/path.h"

namespace {

constexpr std::uint16_t kAllFiles = 0x66;
constexpr std::int64_t kMb = 1048576;

bool counted(const DirEntry& e) {
  if (!TUTTI && (e.attr & (kAttrHidden | kAttrSystem)) != 0) return false;
  if (e.size < MIN_) return false;
  if (MAX_GIVEN && e.size > MAX_) return false;
  return true;
}

void size_line(std::int64_t bytes) {
  WRITE2(Str255("Dimensione: ") + DIM_PUNTO(bytes) + " bytes    ");
  std::int64_t m = bytes / kMb;
  if (m > 0) WRITE2(DIM_PUNTO(m) + " Mb");
  std::int64_t g = m / 1024;
  if (g > 0) WRITE2(DIM_PUNTO(g) + " Gb");
  WRITELN2("");
}

// After every printed block while paging is on: the prompt after the fifth.
void paging_step() {
  if (PAUSE == 255) return;
  if (PAUSE != 4) {
    ++PAUSE;
    return;
  }
  PAUSE = 0;
  con_put("Premere un tasto per continuare ...");
  // Any key goes on; a key that sends two values is taken whole.
  if (con_read_key() == 0) con_read_key();
  con_put_line("");
}

}  // namespace

void FINDFILES(const Str255& spec) {
  std::int64_t count = 0;
  std::int64_t bytes = 0;  // 64-bit: a directory may hold more than 2 GiB
  DirEntry e;
  for (bool more = scan_first(spec, kAllFiles, e); more; more = scan_next(e)) {
    if (!counted(e)) continue;
    bytes += e.size;
    ++count;
  }
  if (count == 0) return;
  TOT_COUNT += count;
  TOT_SIZE += bytes;
  if (VELOCE) return;
  WRITELN2(Str255("Percorso  : ") + PATHOF(FEXPAND2(spec)));
  WRITELN2(Str255("Nomi files: ") + NAMEOF(spec));
  size_line(bytes);
  WRITELN2(Str255("Quantita' : ") + DIM_PUNTO(count));
  paging_step();
  WRITELN2("");
}

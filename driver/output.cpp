#include "driver/output.h"

#include "driver/errors.h"
#include "driver/state.h"
#include "platform/platform.h"

namespace {

void put(const Str255& text, bool line_end) {
  if (OUTFILE == "NUL") return;
  if (OUTFILE.empty()) {
    if (line_end) {
      con_put_line(text);
    } else {
      con_put(text);
    }
    return;
  }
  if (line_end) {
    text_put_line(TESTO, text);
  } else {
    text_put(TESTO, text);
  }
  if (io_status() != 0) ERR(kErrOutputFile);
}

}  // namespace

void WRITELN2(const Str255& text) {
  put(text, true);
}

void WRITE2(const Str255& text) {
  put(text, false);
}

// The console services on the controlling terminal: output with the column
// followed the way a Win32 console moves its cursor, and keys read raw and
// decoded into PC key codes.

#include "platform/posix/console.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/console_text.h"
#include "platform/posix/key_decoder.h"
#include "platform/posix/process.h"

namespace {

using Clock = std::chrono::steady_clock;
using Kind = KeyDecode::Kind;

// How long the terminal may take to answer the cursor position request.
constexpr int kCursorReportWaitMs = 200;
// How long after an Escape the rest of a sequence may still come; a key
// typed by a person is never that close behind.
constexpr int kEscapeWaitMs = 100;

int terminal = -1;
struct termios saved_modes;
volatile std::sig_atomic_t modes_saved = 0;
ConsoleCursor cursor;

// Bytes read from the terminal and not decoded yet.
char input[128];
std::size_t input_length = 0;
Clock::time_point last_arrival;

// Key codes decoded and not given out yet; a key without a character puts
// its scan code right behind its 0.
constexpr int kQueueSize = 64;
int queue[kQueueSize];
int queue_head = 0;
int queue_count = 0;

void queue_key(const KeyDecode& key) {
  int codes = key.code == 0 ? 2 : 1;
  if (queue_count + codes > kQueueSize) return;  // typed far ahead: dropped
  queue[(queue_head + queue_count++) % kQueueSize] = key.code;
  if (codes == 2) queue[(queue_head + queue_count++) % kQueueSize] = key.scan;
}

int queue_pop() {
  int code = queue[queue_head];
  queue_head = (queue_head + 1) % kQueueSize;
  --queue_count;
  return code;
}

void consume(int length) {
  auto n = static_cast<std::size_t>(length);
  std::memmove(input, input + n, input_length - n);
  input_length -= n;
}

long milliseconds_since(Clock::time_point moment) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - moment).count());
}

// Waits up to timeout_ms (-1: as long as it takes) for bytes from the
// terminal. A terminal that has gone ends the run as its hangup would.
void read_more(int timeout_ms) {
  if (input_length == sizeof input) return;
  pollfd wanted{terminal, POLLIN, 0};
  if (poll(&wanted, 1, timeout_ms) <= 0) return;
  ssize_t got = read(terminal, input + input_length, sizeof input - input_length);
  if (got > 0) {
    input_length += static_cast<std::size_t>(got);
    last_arrival = Clock::now();
    return;
  }
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
  end_by_signal(SIGHUP);
}

// Decodes the bytes that have come until one key is queued; cursor reports
// and noise go. False when no whole key is there yet.
bool decode_input(bool complete) {
  for (;;) {
    KeyDecode decoded = decode_key(std::string_view(input, input_length), complete);
    if (decoded.kind == Kind::kNeedMore) return false;
    consume(decoded.length);
    if (decoded.kind == Kind::kKey) {
      queue_key(decoded);
      return true;
    }
  }
}

bool write_all(const char* bytes, std::size_t n) {
  while (n > 0) {
    ssize_t written = write(terminal >= 0 ? terminal : STDOUT_FILENO, bytes, n);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    n -= static_cast<std::size_t>(written);
  }
  return true;
}

int terminal_width() {
  winsize size{};
  if (terminal >= 0 && ioctl(terminal, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    return size.ws_col;
  }
  return 80;
}

// Asks the terminal where the cursor is. Keys typed before the answer are
// kept for later; no answer in time means column 1, and an answer that
// comes later is dropped by the key decoder.
int start_column() {
  if (!write_all("\x1b[6n", 4)) return 1;
  Clock::time_point asked = Clock::now();
  for (;;) {
    for (;;) {
      KeyDecode decoded = decode_key(std::string_view(input, input_length), false);
      if (decoded.kind == Kind::kNeedMore) break;
      consume(decoded.length);
      if (decoded.kind == Kind::kCursorReport) return decoded.column > 0 ? decoded.column : 1;
      if (decoded.kind == Kind::kKey) queue_key(decoded);
    }
    long left = kCursorReportWaitMs - milliseconds_since(asked);
    if (left <= 0) return 1;
    read_more(static_cast<int>(left));
  }
}

void put_rendered(const Str255& s, bool line) {
  char out[(Str255::kMax + 2) * kRenderedBytesPerByte];
  cursor.width = terminal_width();
  std::size_t n = render_console_text(s.view(), cursor, out);
  if (line) n += render_console_text("\r\n", cursor, out + n);
  if (!write_all(out, n)) strict_failure("Scrittura sulla console non riuscita");
}

}  // namespace

bool console_open() {
  terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal < 0) return false;
  if (tcgetattr(terminal, &saved_modes) != 0) {
    close(terminal);
    terminal = -1;
    return false;
  }
  modes_saved = 1;
  // Keys one at a time, unechoed and untranslated (Enter comes as CR, Ctrl+S
  // as a key); Ctrl+C still raises its signal. Output modes stay as they are.
  struct termios keys = saved_modes;
  keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHONL | IEXTEN);
  keys.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON);
  keys.c_cc[VMIN] = 1;
  keys.c_cc[VTIME] = 0;
  // TCSANOW, not TCSAFLUSH: keys typed ahead of the program must survive.
  tcsetattr(terminal, TCSANOW, &keys);
  cursor.newline_returns = (saved_modes.c_oflag & OPOST) != 0 && (saved_modes.c_oflag & ONLCR) != 0;
  cursor.column = start_column();
  return true;
}

void console_restore() {
  if (modes_saved) tcsetattr(terminal, TCSANOW, &saved_modes);
}

// Before platform_start there is no terminal: the text then goes to standard
// output, and no key ever waits (a key asked for anyway is Enter), so that
// code printing on the console can run in a test.
void con_put(const Str255& s) {
  put_rendered(s, false);
}

void con_put_line(const Str255& s) {
  put_rendered(s, true);
}

int con_column() {
  return cursor.column;
}

bool con_key_waiting() {
  if (queue_count > 0) return true;
  if (terminal < 0) return false;
  read_more(0);
  return decode_input(milliseconds_since(last_arrival) >= kEscapeWaitMs);
}

int con_read_key() {
  for (;;) {
    if (queue_count > 0) return queue_pop();
    if (terminal < 0) return 13;
    if (decode_input(false)) continue;
    if (input_length == 0) {
      read_more(-1);
      continue;
    }
    // The start of a sequence: the rest comes at once or never.
    long left = kEscapeWaitMs - milliseconds_since(last_arrival);
    if (left > 0) {
      read_more(static_cast<int>(left));
    } else {
      decode_input(true);
    }
  }
}

// The process services: the command line, the environment, the ways a run
// ends, and the signals that end it from outside.

#include "platform/posix/process.h"

#include <unistd.h>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix/case_lookup.h"
#include "platform/posix/console.h"
#include "platform/posix/drive_map.h"
#include "platform/posix/wildcard.h"

extern char** environ;

namespace {

int argument_count = 0;
char** arguments = nullptr;

// The file that must not outlive an aborted run, as a Unix path ready for
// unlink in a signal handler, where nothing can be converted any more.
char abort_path[PATH_MAX];
volatile std::sig_atomic_t abort_path_set = 0;

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void remove_abort_file() {
  if (abort_path_set) unlink(abort_path);
}

// One write, so that the line stays whole; standard error is all there is
// left to tell, and if that fails there is nobody to tell it to.
void write_error_line(const char* text) {
  char line[512];
  std::size_t length = std::strlen(text);
  if (length > sizeof line - 1) length = sizeof line - 1;
  std::memcpy(line, text, length);
  line[length] = '\n';
  ssize_t written = write(STDERR_FILENO, line, length + 1);
  static_cast<void>(written);
}

void on_ending_signal(int signal_number) {
  end_by_signal(signal_number);
}

sigset_t ending_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal_number : kEndingSignals) sigaddset(&set, signal_number);
  return set;
}

void install_signal_handlers() {
  struct sigaction action {};
  action.sa_handler = on_ending_signal;
  action.sa_mask = ending_signals();  // one ending at a time
  for (int signal_number : kEndingSignals) {
    struct sigaction before {};
    // A signal ignored by whoever started us (nohup, a background job) stays
    // ignored.
    if (sigaction(signal_number, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(signal_number, &action, nullptr);
  }
  // A write into a pipe that nobody reads any more, or past the file-size
  // limit, must fail as a write (EPIPE, EFBIG), so that the run reports it
  // and removes its list file instead of being killed with the file left.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

void restore_console_at_exit() {
  console_restore();
}

}  // namespace

void end_by_signal(int signal_number) {
  console_restore();
  remove_abort_file();
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal_number, &fallback, nullptr);
  raise(signal_number);
  // Inside the handler the signal is blocked until now.
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal_number);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  _exit(128 + signal_number);
}

void platform_start(int argc, char** argv) {
  argument_count = argc;
  arguments = argv;
  install_signal_handlers();
  if (!console_open()) {
    write_error_line("No way to get the console handle");
    std::exit(1);
  }
  std::atexit(restore_console_at_exit);
}

int arg_count() {
  return argument_count > 0 ? argument_count - 1 : 0;
}

Str255 arg_text(int i) {
  if (i < 0 || i >= argument_count || arguments == nullptr) return Str255();
  return Str255(arguments[i]);
}

Str255 env_lookup(const Str255& name) {
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    Str255 text(*entry);  // cut to 255 before it is split
    int equals = text.pos('=');
    if (equals == 0) continue;
    if (equal_ignoring_case(text.view().substr(0, static_cast<std::size_t>(equals - 1)),
                            name.view())) {
      return text.copy(equals + 1, Str255::kMax);
    }
  }
  return Str255();
}

Str255 platform_name() {
  return Str255("LNX");
}

void remove_on_abort(const Str255& path) {
  sigset_t blocked = ending_signals();
  sigset_t before;
  UnixPath unix_path;
  int error = 0;
  bool keep = !path.empty() && map_dos_path(path.view(), false, unix_path, error);
  if (keep) resolve_case(unix_path);
  keep = keep && unix_path.text.size() < sizeof abort_path;
  // The handler must never see half a path.
  sigprocmask(SIG_BLOCK, &blocked, &before);
  abort_path_set = 0;
  if (keep) {
    std::memcpy(abort_path, unix_path.text.c_str(), unix_path.text.size() + 1);
    abort_path_set = 1;
  }
  sigprocmask(SIG_SETMASK, &before, nullptr);
}

void terminate(int code) {
  console_restore();
  std::exit(code);
}

void strict_failure(const char* what) {
  console_restore();
  remove_abort_file();
  write_error_line(what);
  _exit(217);
}

// Start and end of the process, its command line and its environment.

#include <atomic>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/cmdline/command_line.h"
#include "platform/platform.h"
#include "platform/win32/win32_base.h"

namespace {

// STATUS_CONTROL_C_EXIT, the exit code of a console process that Ctrl+C ended.
constexpr UINT kStatusControlCExit = 0xC000013A;

Str255 g_program;
std::vector<Str255> g_parameters;  // after the program's own piece

// The list file to remove when the process ends outside the run sequence. A
// fixed buffer, because the console control handler reads it on a thread of
// its own while the program may be changing it.
char g_abort_path[Str255::kMax + 1] = "";
std::atomic<bool> g_abort_path_set{false};

void remove_abort_file() {
  if (g_abort_path_set.load() && g_abort_path[0] != '\0') DeleteFileA(g_abort_path);
}

// Ctrl+C, Ctrl+Break, a closed console window, logoff and shutdown: the list
// file goes and the console gets its mode back. Ctrl+C and Ctrl+Break then end
// the process with the status Windows' default handler gives them (Wine's
// own default would end it with 0, as if the run had been complete); for the
// others the default handler ends it.
BOOL WINAPI on_console_event(DWORD event) {
  remove_abort_file();
  console_restore();
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) ExitProcess(kStatusControlCExit);
  return FALSE;
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

}  // namespace

void platform_start(int, char**) {
  // The C runtime's argv follows other quoting rules; the program's own come
  // from the command line as Windows keeps it.
  std::vector<Str255> pieces = cut_command_line(GetCommandLineA());
  if (!pieces.empty()) pieces.erase(pieces.begin());
  g_parameters = std::move(pieces);
  char name[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
  g_program = length > 0 && length < MAX_PATH ? Str255(name) : Str255();

  if (!console_connect()) ExitProcess(1);
  SetConsoleCtrlHandler(on_console_event, TRUE);
}

int arg_count() {
  return static_cast<int>(g_parameters.size());
}

Str255 arg_text(int i) {
  if (i == 0) return g_program;
  if (i < 1 || i > arg_count()) return Str255();
  return g_parameters[static_cast<std::size_t>(i - 1)];
}

Str255 env_lookup(const Str255& name) {
  char* block = GetEnvironmentStringsA();
  if (block == nullptr) return Str255();
  Str255 value;
  // The block is NAME=VALUE entries, each ended by a NUL, the last by two.
  // An entry is cut to 255 characters before its name is looked at. The
  // hidden entries "=X:=..." start with "=", so the name ends at the first
  // "=" after the first character.
  for (const char* entry = block; *entry != '\0'; entry += std::string_view(entry).size() + 1) {
    const Str255 cut(entry);
    const std::string_view text = cut.view();
    const std::size_t equals = text.find('=', 1);
    if (equals == std::string_view::npos) continue;
    if (same_name(text.substr(0, equals), name.view())) {
      value = Str255(text.substr(equals + 1));
      break;
    }
  }
  FreeEnvironmentStringsA(block);
  return value;
}

Str255 platform_name() {
  return Str255("WIN");
}

void remove_on_abort(const Str255& path) {
  // Withdrawn while it changes, so that the handler never sees half a name.
  g_abort_path_set.store(false);
  const AnsiText text = ansi(path);
  std::memcpy(g_abort_path, text.text, sizeof g_abort_path);
  g_abort_path_set.store(true);
}

void terminate(int code) {
  console_restore();
  ExitProcess(static_cast<UINT>(code));
}

void strict_failure(const char* what) {
  SetConsoleCtrlHandler(on_console_event, FALSE);
  remove_abort_file();
  console_restore();
  write_stderr_line(what);
  ExitProcess(217);
}

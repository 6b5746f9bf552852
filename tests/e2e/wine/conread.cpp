// The end-to-end suite's window on the Windows console under Wine.
//
// conread.exe JOBFILE runs one program in its own console and writes what that
// console holds afterwards: the exit code, the cursor and every row of the
// screen buffer with its trailing blanks, exactly as ReadConsoleOutputCharacterA
// gives them. Reading the terminal Wine draws on would lose blanks and turn
// the code page 437 characters into something else.
//
// The job file has one setting a line, the command line last:
//   result=PATH     where the report goes
//   ready=PATH      a file made once our console holds the terminal: from then
//                   on keys typed there go into the console's input queue
//   go=PATH         the program starts only once this file exists, so that
//                   keys typed before it are waiting when it first looks;
//                   with typed=yes also only once those keys are in the queue
//   stdout=PATH     standard output of the program into this file (optional)
//   stderr=PATH     standard error of the program into this file
//   stdin=PATH      standard input of the program from this file (optional)
//   before=TEXT     written to the console first: the program starts with
//                   the cursor after it
//   key=VK,SCAN,CHAR,STATE  a key press (and its release) put into the input
//                   queue before the program starts, numbers in hex: for the
//                   flags Wine's terminal input never sets (ENHANCED_KEY,
//                   LEFT_ALT_PRESSED)
//   set=NAME=VALUE  an environment variable for the program
//   unset=NAME      an environment variable the program must not see
//   cmd=LINE        the program's whole command line, as it gets it
//   console=no      no console at all: the program gets our own standard
//                   handles, and our exit code is its exit code
// Wine takes TMP and TEMP from its registry, not from the Unix environment;
// set= and unset= are how a test decides what the program sees there.
//
// The report: "status N", "cursor X Y" (0-based), "size W H", "mode BEFORE
// AFTER" (the console input mode before the program and after it), then H rows.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Job {
  std::string result, ready, go, in, out, err, before, command;
  bool console = true;
  bool typed = false;
  std::vector<INPUT_RECORD> keys;
};

void add_key(const std::string& value, std::vector<INPUT_RECORD>& keys) {
  unsigned vk = 0, scan = 0, character = 0;
  unsigned long state = 0;
  if (std::sscanf(value.c_str(), "%x,%x,%x,%lx", &vk, &scan, &character, &state) != 4) return;
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  key.bKeyDown = TRUE;
  key.wRepeatCount = 1;
  key.wVirtualKeyCode = static_cast<WORD>(vk);
  key.wVirtualScanCode = static_cast<WORD>(scan);
  key.uChar.AsciiChar = static_cast<CHAR>(character);
  key.dwControlKeyState = state;
  keys.push_back(record);
  key.bKeyDown = FALSE;
  keys.push_back(record);
}

BOOL WINAPI keep_running(DWORD) {
  return TRUE;  // Ctrl+C is for the program under test, not for us
}

bool read_job(const char* path, Job& job) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  std::string text;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
  std::fclose(file);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (key == "result") job.result = value;
    if (key == "ready") job.ready = value;
    if (key == "go") job.go = value;
    if (key == "typed") job.typed = value == "yes";
    if (key == "stdin") job.in = value;
    if (key == "before") job.before = value;
    if (key == "key") add_key(value, job.keys);
    if (key == "stdout") job.out = value;
    if (key == "stderr") job.err = value;
    if (key == "cmd") job.command = value;
    if (key == "console") job.console = value != "no";
    if (key == "unset") SetEnvironmentVariableA(value.c_str(), nullptr);
    if (key == "set") {
      const size_t inner = value.find('=', 1);
      if (inner != std::string::npos) {
        SetEnvironmentVariableA(value.substr(0, inner).c_str(), value.substr(inner + 1).c_str());
      }
    }
  }
  return (!job.console || !job.result.empty()) && !job.command.empty();
}

// Wine's console turns what the terminal sent into input events only when
// someone asks for them: peek until the count has settled (or a few seconds
// have gone by), so that the program finds every key waiting. Peeking takes
// nothing from the queue.
void wait_for_typed_keys(HANDLE input) {
  DWORD last = 0;
  int steady = 0;
  for (int i = 0; i < 60 && steady < 4; ++i) {
    INPUT_RECORD records[64];
    DWORD count = 0;
    PeekConsoleInputA(input, records, 64, &count);
    steady = count > 0 && count == last ? steady + 1 : 0;
    last = count;
    Sleep(50);
  }
}

HANDLE inheritable(HANDLE handle) {
  HANDLE copy = INVALID_HANDLE_VALUE;
  DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                  DUPLICATE_SAME_ACCESS);
  return copy;
}

HANDLE open_file(const std::string& path) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE create_file(const std::string& path) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  Job job;
  if (argc != 2 || !read_job(argv[1], job)) {
    std::fprintf(stderr, "conread: usage: conread JOBFILE (with result= and cmd=)\n");
    return 2;
  }
  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  PROCESS_INFORMATION child{};
  std::vector<char> command(job.command.begin(), job.command.end());
  command.push_back('\0');
  if (!job.console) {
    start.hStdInput = inheritable(GetStdHandle(STD_INPUT_HANDLE));
    start.hStdOutput = inheritable(GetStdHandle(STD_OUTPUT_HANDLE));
    start.hStdError = inheritable(GetStdHandle(STD_ERROR_HANDLE));
    // Without DETACHED_PROCESS Windows would give the program a console of its own.
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                        nullptr, &start, &child)) {
      std::fprintf(stderr, "conread: cannot start the program (error %lu)\n", GetLastError());
      return 2;
    }
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(child.hProcess, &status);
    return static_cast<int>(status);
  }

  SetConsoleCtrlHandler(keep_running, TRUE);
  const HANDLE console_out =
      CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (console_out == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "conread: no console (error %lu)\n", GetLastError());
    return 2;
  }

  const HANDLE console_in = GetStdHandle(STD_INPUT_HANDLE);
  start.hStdInput = job.in.empty() ? inheritable(console_in) : open_file(job.in);
  start.hStdOutput = job.out.empty() ? inheritable(console_out) : create_file(job.out);
  start.hStdError = job.err.empty() ? inheritable(console_out) : create_file(job.err);
  if (!job.ready.empty()) CloseHandle(create_file(job.ready));
  if (!job.go.empty()) {
    while (GetFileAttributesA(job.go.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(10);
  }
  if (job.typed) wait_for_typed_keys(console_in);
  if (!job.keys.empty()) {
    DWORD written = 0;
    WriteConsoleInputA(console_in, job.keys.data(), static_cast<DWORD>(job.keys.size()), &written);
  }
  if (!job.before.empty()) {
    DWORD written = 0;
    WriteConsoleA(console_out, job.before.data(), static_cast<DWORD>(job.before.size()), &written,
                  nullptr);
  }
  DWORD mode_before = 0, mode_after = 0;
  GetConsoleMode(console_in, &mode_before);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                      &child)) {
    std::fprintf(stderr, "conread: cannot start the program (error %lu)\n", GetLastError());
    return 2;
  }
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(child.hProcess, &status);
  GetConsoleMode(console_in, &mode_after);

  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(console_out, &info)) {
    std::fprintf(stderr, "conread: cannot read the screen buffer (error %lu)\n", GetLastError());
    return 2;
  }
  FILE* result = std::fopen(job.result.c_str(), "wb");
  if (result == nullptr) return 2;
  std::fprintf(result, "status %lu\ncursor %d %d\nsize %d %d\nmode %lu %lu\n", status,
               info.dwCursorPosition.X, info.dwCursorPosition.Y, info.dwSize.X, info.dwSize.Y,
               mode_before, mode_after);
  std::vector<char> row(static_cast<size_t>(info.dwSize.X));
  for (SHORT y = 0; y < info.dwSize.Y; ++y) {
    DWORD got = 0;
    ReadConsoleOutputCharacterA(console_out, row.data(), static_cast<DWORD>(row.size()),
                                COORD{0, y}, &got);
    std::fwrite(row.data(), 1, got, result);
    std::fputc('\n', result);
  }
  std::fclose(result);
  return 0;
}

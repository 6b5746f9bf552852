// The process services: environment, command line, and every way a run ends.
// The runs that need a terminal get a pseudo-terminal of their own, with the
// test on its other side, in a child process (a death test).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "zazaz32/scratch_dir_fixture.h"

namespace {

using testing::ExitedWithCode;
using testing::KilledBySignal;

// Ends a child: status 0 when ok, else 1 after saying what went wrong.
[[noreturn]] void finish(bool ok, const std::string& what) {
  if (!ok) {
    std::string line = what + "\n";
    ssize_t written = write(STDERR_FILENO, line.data(), line.size());
    static_cast<void>(written);
  }
  _exit(ok ? 0 : 1);
}

class ProcessTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(grantpt(master_), 0);
    ASSERT_EQ(unlockpt(master_), 0);
    terminal_name_ = ptsname(master_);
  }
  void TearDown() override {
    close(master_);
    ScratchDirTest::TearDown();
  }

  // In the child: a session of its own, with the test's pseudo-terminal as
  // its controlling terminal.
  void attach_terminal() const {
    setsid();
    int fd = open(terminal_name_.c_str(), O_RDWR);
    if (fd < 0 || ioctl(fd, TIOCSCTTY, 0) != 0) finish(false, "no terminal to attach");
  }

  // The terminal's modes as anybody opening it now finds them.
  termios terminal_modes() const {
    termios modes{};
    int fd = open(terminal_name_.c_str(), O_RDWR | O_NOCTTY);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(tcgetattr(fd, &modes), 0);
    close(fd);
    return modes;
  }

  // Plays the terminal: bytes as if typed (or answered) on it.
  void type(const std::string& bytes) const {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  static void start(std::vector<std::string> arguments) {
    static std::vector<std::string> kept;
    static std::vector<char*> argv;
    kept = std::move(arguments);
    argv.clear();
    for (std::string& a : kept) argv.push_back(a.data());
    argv.push_back(nullptr);
    platform_start(static_cast<int>(kept.size()), argv.data());
  }

  int master_ = -1;
  std::string terminal_name_;
};

TEST_F(ProcessTest, EnvLookupIgnoresTheCaseOfTheName) {
  set_env("Vesk_Probe", "Z:\\TMP");
  unset_env("VESK_ABSENT");
  EXPECT_EQ(env_lookup("VESK_PROBE").str(), "Z:\\TMP");
  EXPECT_EQ(env_lookup("vesk_probe").str(), "Z:\\TMP");
  EXPECT_EQ(env_lookup("VESK_PROB").str(), "");
  EXPECT_EQ(env_lookup("VESK_ABSENT").str(), "");
  // The entry is cut to 255 characters before its value is taken.
  set_env("VESK_LONG", std::string(300, 'v'));
  EXPECT_EQ(env_lookup("VESK_LONG").str(), std::string(255 - 10, 'v'));
  EXPECT_EQ(platform_name().str(), "LNX");
}

TEST_F(ProcessTest, WithoutATerminalTheRunCannotStart) {
  EXPECT_EXIT(
      {
        setsid();  // no controlling terminal any more
        start({"vesk"});
      },
      ExitedWithCode(1), "No way to get the console handle");
}

TEST_F(ProcessTest, EveryParameterIsThereEachCutTo255) {
  EXPECT_EXIT(
      {
        attach_terminal();
        std::vector<std::string> arguments = {"vesk"};
        for (int i = 1; i <= 300; ++i) arguments.push_back("P" + std::to_string(i));
        arguments[7] = std::string(300, 'x');
        start(arguments);
        finish(arg_count() == 300, "arg_count");
        finish(arg_text(0).str() == "vesk" && arg_text(1).str() == "P1" &&
                   arg_text(300).str() == "P300" && arg_text(7).str() == std::string(255, 'x') &&
                   arg_text(301).empty() && arg_text(-1).empty(),
               "arg_text");
      },
      ExitedWithCode(0), "");
}

TEST_F(ProcessTest, TheStartColumnComesFromTheTerminalAndTypedKeysStay) {
  type("x\x1b[A\x1b[7;33R");  // typed ahead, then the answer to the position request
  EXPECT_EXIT(
      {
        attach_terminal();
        start({"vesk"});
        if (con_column() != 33) finish(false, "column " + std::to_string(con_column()));
        if (!con_key_waiting()) finish(false, "no key waiting");
        int x = con_read_key();
        int zero = con_read_key();
        int up = con_read_key();
        finish(x == 'x' && zero == 0 && up == 72 && !con_key_waiting(), "keys");
      },
      ExitedWithCode(0), "");
}

TEST_F(ProcessTest, ALateCursorReportIsNoKey) {
  EXPECT_EXIT(
      {
        attach_terminal();
        start({"vesk"});  // nobody answers in time: column 1
        if (con_column() != 1) finish(false, "column " + std::to_string(con_column()));
        type("\x1b[5;9Rq");
        finish(con_read_key() == 'q', "the report was taken for keys");
      },
      ExitedWithCode(0), "");
}

TEST_F(ProcessTest, TheTerminalShowsTheTextAsAConsoleWould) {
  EXPECT_EXIT(
      {
        attach_terminal();
        start({"vesk"});
        con_put("a\ab\x1b");
        con_put_line("");
        std::string shown;
        char chunk[256];
        for (;;) {
          ssize_t got = read(master_, chunk, sizeof chunk);
          if (got <= 0) break;
          shown.append(chunk, static_cast<std::size_t>(got));
          if (shown.find("\r\n") != std::string::npos) break;
        }
        finish(shown == "\x1b[6nab\u2190\r\n" && con_column() == 1, "shown: " + shown);
      },
      ExitedWithCode(0), "");
}

enum class Ending { kTerminate, kStrictFailure, kSignal };

struct EndingCase {
  const char* label;
  Ending ending;
  int signal_number;
  std::function<bool(int)> status_is;
  bool file_stays;
};

// However the run ends, the terminal gets its modes back; the file of
// remove_on_abort goes, except at a regular end.
TEST_F(ProcessTest, EveryEndingRestoresTheTerminal) {
  const termios before = terminal_modes();
  const EndingCase cases[] = {
      {"terminate", Ending::kTerminate, 0, ExitedWithCode(0), true},
      {"strict failure", Ending::kStrictFailure, 0, ExitedWithCode(217), false},
      {"SIGINT", Ending::kSignal, SIGINT, KilledBySignal(SIGINT), false},
      {"SIGTERM", Ending::kSignal, SIGTERM, KilledBySignal(SIGTERM), false},
      {"SIGHUP", Ending::kSignal, SIGHUP, KilledBySignal(SIGHUP), false},
      {"SIGQUIT", Ending::kSignal, SIGQUIT, KilledBySignal(SIGQUIT), false},
  };
  for (const EndingCase& c : cases) {
    SCOPED_TRACE(c.label);
    make_file("LIST.TMP", 1);
    EXPECT_EXIT(
        {
          attach_terminal();
          start({"vesk"});
          remove_on_abort(dos("list.tmp"));  // found whatever its case
          if (c.ending == Ending::kTerminate) terminate(0);
          if (c.ending == Ending::kStrictFailure) strict_failure("records_count: errore 6");
          raise(c.signal_number);
          finish(false, "still running");
        },
        c.status_is, "");
    termios after = terminal_modes();
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO), before.c_lflag & (ICANON | ECHO));
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(exists("LIST.TMP"), c.file_stays);
  }
  make_file("LIST.TMP", 1);
  EXPECT_EXIT(
      {
        attach_terminal();
        start({"vesk"});
        remove_on_abort(dos("LIST.TMP"));
        remove_on_abort("");  // cleared: nothing to remove any more
        raise(SIGTERM);
      },
      KilledBySignal(SIGTERM), "");
  EXPECT_TRUE(exists("LIST.TMP"));
}

TEST_F(ProcessTest, AStrictFailureSaysWhyInOneLine) {
  EXPECT_EXIT(
      {
        attach_terminal();
        start({"vesk"});
        strict_failure("records_count: errore 6");
      },
      ExitedWithCode(217), "^records_count: errore 6\n$");
}

TEST_F(ProcessTest, AClosedTerminalEndsTheRunAsAHangup) {
  make_file("LIST.TMP", 1);
  EXPECT_EXIT(
      {
        // A terminal of the child's own, so that closing it really closes it.
        int own = posix_openpt(O_RDWR | O_NOCTTY);
        if (own < 0 || grantpt(own) != 0 || unlockpt(own) != 0) finish(false, "no terminal");
        setsid();
        int fd = open(ptsname(own), O_RDWR);
        if (fd < 0 || ioctl(fd, TIOCSCTTY, 0) != 0) finish(false, "no terminal to attach");
        close(fd);
        start({"vesk"});
        remove_on_abort(dos("LIST.TMP"));
        close(own);
        con_read_key();
        finish(false, "a key from a closed terminal");
      },
      KilledBySignal(SIGHUP), "");
  EXPECT_FALSE(exists("LIST.TMP"));
}

}  // namespace

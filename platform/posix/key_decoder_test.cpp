#include "platform/posix/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every code con_read_key would give for bytes that arrived together and
// were followed by silence: a key without a character gives 0, then its
// scan code.
std::vector<int> codes_of(std::string bytes) {
  std::vector<int> codes;
  while (!bytes.empty()) {
    KeyDecode key = decode_key(bytes, true);
    if (key.kind == KeyDecode::Kind::kNeedMore || key.length <= 0) {
      ADD_FAILURE() << "no progress with complete input";
      break;
    }
    if (key.kind == KeyDecode::Kind::kKey) {
      codes.push_back(key.code);
      if (key.code == 0) codes.push_back(key.scan);
    }
    bytes.erase(0, static_cast<std::size_t>(key.length));
  }
  return codes;
}

struct KeyCase {
  const char* label;
  std::string bytes;
  std::vector<int> codes;
};

TEST(KeyDecoder, TurnsTerminalBytesIntoPcKeys) {
  const KeyCase cases[] = {
      {"letters", "aZ5", {'a', 'Z', '5'}},
      {"Enter", "\r", {13}},
      {"Backspace", "\x7f", {8}},
      {"Ctrl+C as a key", "\x03", {3}},
      {"lone Escape", "\x1b", {27}},
      {"two Escapes", "\x1b\x1b", {27, 27}},
      {"Up", "\x1b[A", {0, 72}},
      {"Down", "\x1b[B", {0, 80}},
      {"Right", "\x1b[C", {0, 77}},
      {"Left", "\x1b[D", {0, 75}},
      {"Home, End", "\x1b[H\x1b[F", {0, 71, 0, 79}},
      {"application mode cursor keys", "\x1bOA\x1bOD", {0, 72, 0, 75}},
      {"Home, End as ~ keys", "\x1b[1~\x1b[4~\x1b[7~\x1b[8~", {0, 71, 0, 79, 0, 71, 0, 79}},
      {"Ins Del PgUp PgDn", "\x1b[2~\x1b[3~\x1b[5~\x1b[6~", {0, 82, 0, 83, 0, 73, 0, 81}},
      {"F1-F4", "\x1bOP\x1bOQ\x1bOR\x1bOS", {0, 59, 0, 60, 0, 61, 0, 62}},
      {"F5-F8", "\x1b[15~\x1b[17~\x1b[18~\x1b[19~", {0, 63, 0, 64, 0, 65, 0, 66}},
      {"F9-F12", "\x1b[20~\x1b[21~\x1b[23~\x1b[24~", {0, 67, 0, 68, 0, 133, 0, 134}},
      {"Linux console F1", "\x1b[[A", {0, 59}},
      {"modifiers are ignored", "\x1b[1;5A\x1b[15;2~", {0, 72, 0, 63}},
      {"Shift+Tab", "\x1b[Z", {0, 15}},
      {"Alt+X",
       "\x1b"
       "x",
       {0, 45}},
      {"Alt+1",
       "\x1b"
       "1",
       {0, 120}},
      {"an unknown sequence is one key", "\x1b[99~q", {0, 0, 'q'}},
      {"sequence then letter", "\x1b[Ax", {0, 72, 'x'}},
      {"a cursor report is no key", "\x1b[12;40R", {}},
      {"cursor report among keys", "a\x1b[5;1Rb", {'a', 'b'}},
      {"F3 in application mode is no report", "\x1bOR", {0, 61}},
      {"UTF-8 letter is one key",
       "\xc3\xa8"
       "a",
       {0xe8, 'a'}},
      {"UTF-8 beyond a byte", "\xe2\x82\xac", {'?'}},
      {"Ctrl+Space", std::string("\0", 1), {0, 3}},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(codes_of(c.bytes), c.codes) << c.label;
  }
}

TEST(KeyDecoder, WaitsForTheRestOfASequenceUntilTheInputIsComplete) {
  const char* starts[] = {"\x1b",  "\x1b[",  "\x1b[1", "\x1b[1;", "\x1b[15",
                          "\x1bO", "\x1b[[", "\xc3",   "\xe2\x82"};
  for (const char* start : starts) {
    SCOPED_TRACE(start + 1);
    KeyDecode key = decode_key(start, false);
    EXPECT_EQ(key.kind, KeyDecode::Kind::kNeedMore);
    EXPECT_EQ(key.length, 0);
  }
  EXPECT_EQ(decode_key("", true).kind, KeyDecode::Kind::kNeedMore);
  // A broken-off sequence gives no key once nothing more comes...
  EXPECT_EQ(decode_key("\x1b[1;", true).kind, KeyDecode::Kind::kDropped);
  // ... and a sequence that never ends is noise, not a reason to wait.
  std::string endless = "\x1b[" + std::string(40, '1');
  EXPECT_EQ(decode_key(endless, false).kind, KeyDecode::Kind::kDropped);
}

TEST(KeyDecoder, ReportsTheCursorPositionWithItsColumn) {
  KeyDecode report = decode_key("\x1b[24;17Rx", false);
  ASSERT_EQ(report.kind, KeyDecode::Kind::kCursorReport);
  EXPECT_EQ(report.row, 24);
  EXPECT_EQ(report.column, 17);
  EXPECT_EQ(report.length, 8);
  // Not a report without both numbers.
  EXPECT_EQ(decode_key("\x1b[24R", false).kind, KeyDecode::Kind::kKey);
}

}  // namespace

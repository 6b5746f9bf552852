#include "platform/posix/console_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct RenderCase {
  const char* label;
  int start_column;
  std::string text;
  std::string shown;  // the bytes the terminal receives
  int column;         // the cursor column afterwards
};

std::string render(std::string_view text, ConsoleCursor& cursor) {
  std::string out(text.size() * kRenderedBytesPerByte, '\0');
  out.resize(render_console_text(text, cursor, out.data()));
  return out;
}

void check(const RenderCase& c, bool newline_returns) {
  SCOPED_TRACE(c.label);
  ConsoleCursor cursor;
  cursor.width = 10;
  cursor.column = c.start_column;
  cursor.newline_returns = newline_returns;
  EXPECT_EQ(render(c.text, cursor), c.shown);
  EXPECT_EQ(cursor.column, c.column);
}

// The rows that do not depend on how the terminal sends LF.
TEST(ConsoleText, FollowsTheColumnTheWayAWin32ConsoleDoes) {
  const RenderCase cases[] = {
      {"plain text", 1, "abc", "abc", 4},
      {"from the start column", 5, "abc", "abc", 8},
      {"CR", 1, "ab\rc", "ab\rc", 2},
      {"BS", 1, "ab\b", "ab\b", 2},
      {"BS in column 1 stays", 1, "\bx", "x", 2},
      {"BEL is not shown", 1, "a\ab", "ab", 3},
      {"ESC as its glyph", 1, "\x1b[2J", "\u2190[2J", 5},
      {"tab as its glyph", 1, "\tx", "\u25CBx", 3},
      {"NUL as a blank", 1, std::string("\0x", 2), " x", 3},
      {"DEL as its glyph", 1, "\x7f", "\u2302", 2},
      {"control 20 as its glyph", 1, "\x14", "\u00B6", 2},
      {"UTF-8 takes one column", 1, "citt\xc3\xa0", "citt\xc3\xa0", 6},
      {"a byte past 127 alone", 1, "\xe8x", "\xe8x", 3},
  };
  for (bool newline_returns : {false, true}) {
    for (const RenderCase& c : cases) check(c, newline_returns);
  }
}

TEST(ConsoleText, WrapsAtTheLastColumnAndMovesTheTerminalThere) {
  const RenderCase raw_newline[] = {
      {"fills the row", 1, "0123456789", "0123456789\r\n", 1},
      {"goes on in the next row", 1, "0123456789ab", "0123456789\r\nab", 3},
      {"from column 9", 9, "ab", "ab\r\n", 1},
      {"a UTF-8 letter in the last column", 9, "a\xc3\xa8x", "a\xc3\xa8\r\nx", 2},
      {"a glyph in the last column", 10, "\x1b", "\u2190\r\n", 1},
      {"line end", 4, "ab\r\n", "ab\r\n", 1},
      {"LF keeps the column", 3, "ab\nc", "ab\nc", 6},
  };
  for (const RenderCase& c : raw_newline) check(c, false);
  // Where the terminal sends LF as CR LF, a CR LF pair goes out as LF alone,
  // and an LF away from column 1 as an index (ESC D).
  const RenderCase returning_newline[] = {
      {"fills the row", 1, "0123456789", "0123456789\n", 1},
      {"goes on in the next row", 1, "0123456789ab", "0123456789\nab", 3},
      {"line end", 4, "ab\r\n", "ab\n", 1},
      {"LF keeps the column", 3, "ab\nc",
       "ab\x1b"
       "Dc",
       6},
      {"LF in column 1", 1, "\nx", "\nx", 2},
      {"CR alone stays", 3, "ab\rc", "ab\rc", 2},
  };
  for (const RenderCase& c : returning_newline) check(c, true);
}

TEST(ConsoleText, ACharacterSplitBetweenTwoTextsTakesOneColumn) {
  ConsoleCursor cursor;
  cursor.width = 10;
  EXPECT_EQ(render("a\xc3", cursor), "a\xc3");
  EXPECT_EQ(render("\xa8"
                   "b",
                   cursor),
            "\xa8"
            "b");
  EXPECT_EQ(cursor.column, 4);
}

}  // namespace

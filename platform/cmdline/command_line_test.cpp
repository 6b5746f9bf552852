#include "platform/cmdline/command_line.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* line;
  std::vector<std::string> pieces;
};

const Case kCases[] = {
    // Separators: every code from 1 to 32, in runs, at both ends.
    {"VESK", {"VESK"}},
    {"", {}},
    {" \t ", {}},
    {"VESK /S *.TXT", {"VESK", "/S", "*.TXT"}},
    {"  VESK   /S\t\t*.TXT  ", {"VESK", "/S", "*.TXT"}},
    {"A\x01"
     "B\x1f"
     "C\rD\nE",
     {"A", "B", "C", "D", "E"}},
    // Code 127 and codes above 127 are ordinary characters, not separators.
    {"A\x7f"
     "B \x80\xff",
     {"A\x7f"
      "B",
      "\x80\xff"}},
    // A stretch keeps separators and its quotes are dropped.
    {"VESK \"C:\\My Files\\*.TXT\" /S", {"VESK", "C:\\My Files\\*.TXT", "/S"}},
    {"VESK 'C:\\My Files'", {"VESK", "C:\\My Files"}},
    {"VESK +\"out file.txt\"", {"VESK", "+out file.txt"}},
    {"VESK a\"b c\"d", {"VESK", "ab cd"}},
    {"VESK \"\t\"", {"VESK", "\t"}},
    // Inside one kind the other quote is ordinary.
    {"VESK \"it's\"", {"VESK", "it's"}},
    {"VESK 'say \"hi\"'", {"VESK", "say \"hi\""}},
    {"VESK \"a'b c\"' d\"e'", {"VESK", "a'b c d\"e"}},
    // Two equal quotes in a row are dropped and change nothing.
    {"VESK a\"\"b", {"VESK", "ab"}},
    {"VESK a''b", {"VESK", "ab"}},
    {"VESK \"\" x", {"VESK", "x"}},
    {"VESK '' ''", {"VESK"}},
    // ...inside a stretch too: it stays open across the pair.
    {"VESK \"a\"\"b c\"", {"VESK", "ab c"}},
    {"VESK \"a\"\"\" b", {"VESK", "a", "b"}},
    // ...but a quote of the other kind inside a stretch is not part of a pair.
    {"VESK \"''\" x", {"VESK", "''", "x"}},
    // Three quotes: a pair, then one that opens a stretch.
    {"VESK \"\"\"a b\"", {"VESK", "a b"}},
    // A stretch left open runs to the end of the line.
    {"VESK \"a b", {"VESK", "a b"}},
    {"VESK \"", {"VESK"}},
    // The program name is cut by the same rules.
    {"\"Z:\\my dir\\vesk.exe\" /?", {"Z:\\my dir\\vesk.exe", "/?"}},
};

TEST(CutCommandLine, FollowsTheQuoteAndSeparatorRules) {
  for (const Case& c : kCases) {
    std::vector<std::string> got;
    for (const Str255& piece : cut_command_line(c.line)) got.push_back(piece.str());
    EXPECT_EQ(got, c.pieces) << "line: [" << c.line << "]";
  }
}

TEST(CutCommandLine, CutsEachPieceTo255Characters) {
  const std::string long_piece(300, 'x');
  // The pair after the 255th character is still dropped, not kept half.
  const auto pieces = cut_command_line("VESK " + long_piece + "\"\"y " + long_piece);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[1].str(), std::string(255, 'x'));
  EXPECT_EQ(pieces[2].str(), std::string(255, 'x'));
}

TEST(CutCommandLine, KeepsEveryPieceOfALongLine) {
  std::string line = "VESK";
  for (int i = 0; i < 400; ++i) line += " /P" + std::to_string(i);
  const auto pieces = cut_command_line(line);
  ASSERT_EQ(pieces.size(), 401u);
  EXPECT_EQ(pieces[256].str(), "/P255");
  EXPECT_EQ(pieces[400].str(), "/P399");
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "zazaz32/scratch_dir_fixture.h"

namespace {

class TextFileTest : public ScratchDirTest {
 protected:
  std::string content(const std::string& relative) const {
    std::ifstream in(native(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write(const std::string& relative, const std::string& bytes) const {
    std::ofstream(native(relative), std::ios::binary) << bytes;
  }
};

TEST_F(TextFileTest, LinesEndInCrLf) {
  TextFile f;
  text_create(f, dos("OUT.TXT"));
  text_put(f, "Percorso  : ");
  text_put_line(f, "Z:\\DATA\\");
  text_put_line(f, "");
  text_close(f);
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(content("OUT.TXT"), "Percorso  : Z:\\DATA\\\r\n\r\n");
  EXPECT_EQ(f.handle, -1);
}

TEST_F(TextFileTest, ALineOfFullLengthKeepsItsLineEnd) {
  TextFile f;
  text_create(f, dos("OUT.TXT"));
  text_put_line(f, Str255(std::string(255, 'x')));
  text_close(f);
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(content("OUT.TXT"), std::string(255, 'x') + "\r\n");
}

TEST_F(TextFileTest, WritesOnlyFullBuffersUntilTheClose) {
  TextFile f;
  text_create(f, dos("OUT.TXT"));
  std::string first(200, 'a');
  std::string second(100, 'b');
  text_put(f, Str255(first));
  EXPECT_EQ(content("OUT.TXT"), "");  // still in the buffer
  text_put(f, Str255(second));
  EXPECT_EQ(content("OUT.TXT").size(), 256u);  // the full buffer went out
  text_close(f);
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(content("OUT.TXT"), first + second);
}

TEST_F(TextFileTest, CreateTruncatesAndAppendGoesOnAtTheEnd) {
  write("OUT.TXT", "old content that must go\r\n");
  TextFile f;
  text_create(f, dos("OUT.TXT"));
  text_put_line(f, "one");
  text_close(f);
  text_append(f, dos("OUT.TXT"));
  text_put_line(f, "two");
  text_close(f);
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(content("OUT.TXT"), "one\r\ntwo\r\n");
}

TEST_F(TextFileTest, AppendFindsTheFileWhateverTheCaseOfItsName) {
  write("report.txt", "x\r\n");
  TextFile f;
  text_append(f, dos("REPORT.TXT"));
  text_put_line(f, "y");
  text_close(f);
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(content("report.txt"), "x\r\ny\r\n");
}

TEST_F(TextFileTest, AFailureBlocksEveryOperationUntilItIsRead) {
  TextFile f;
  text_append(f, dos("MISSING.TXT"));  // append needs an existing file
  TextFile g;
  text_create(g, dos("OTHER.TXT"));
  EXPECT_FALSE(exists("OTHER.TXT"));  // did nothing: the failure is unread
  EXPECT_EQ(io_status(), kErrFileNotFound);
  EXPECT_EQ(io_status(), 0);  // reading cleared it
  text_create(g, dos("OTHER.TXT"));
  text_close(g);
  EXPECT_EQ(io_status(), 0);
  EXPECT_TRUE(exists("OTHER.TXT"));
}

TEST_F(TextFileTest, CreatingInAMissingDirectoryFails) {
  TextFile f;
  text_create(f, dos("NO\\OUT.TXT"));
  EXPECT_NE(io_status(), 0);
  EXPECT_EQ(f.handle, -1);
}

}  // namespace

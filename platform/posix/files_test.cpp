// What the raw file primitives add on this system: links are never
// followed by an exclusive create, and names are found whatever their case.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "platform/posix/case_lookup.h"
#include "zazaz32/path.h"
#include "zazaz32/scratch_dir_fixture.h"

namespace {

class FilesTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    case_lookup_forget();
  }
  std::string content(const std::string& relative) const {
    std::ifstream in(native(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(FilesTest, CreateNewNeverFollowsALink) {
  make_file("target", 3);
  std::filesystem::create_symlink("target", native("to-file"));
  std::filesystem::create_symlink("nowhere", native("dangling"));
  const char* links[] = {"to-file", "dangling"};
  for (const char* link : links) {
    SCOPED_TRACE(link);
    RecordFile f;
    records_create_new(f, dos(link), 256);
    EXPECT_EQ(io_status(), kErrFileExists);
  }
  EXPECT_EQ(std::filesystem::file_size(native("target")), 3u);
  EXPECT_FALSE(exists("nowhere"));
}

TEST_F(FilesTest, AnUpperCasedPathCreatesInTheDirectoryAsWritten) {
  make_dir("Out\\Dir");
  TextFile f;
  text_create(f, UPSTR(dos("Out\\Dir\\Report.txt")));
  text_put_line(f, "x");
  text_close(f);
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(content("Out\\Dir\\REPORT.TXT"), "x\r\n");  // a new name keeps the case given
  // An existing file is the one written, in whatever case it is named.
  text_create(f, dos("out\\dir\\report.TXT"));
  text_put_line(f, "y");
  text_close(f);
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(content("Out\\Dir\\REPORT.TXT"), "y\r\n");
  EXPECT_FALSE(exists("Out\\Dir\\report.TXT"));
}

TEST_F(FilesTest, RemoveFileFindsTheNameWhateverItsCase) {
  make_file("list.tmp", 1);
  remove_file(dos("LIST.TMP"));
  EXPECT_FALSE(exists("list.tmp"));
  make_dir("dir");
  remove_file(dos("dir"));  // a directory is no file
  EXPECT_TRUE(exists("dir"));
}

TEST_F(FilesTest, ANameEndingInABackslashOrADirectoryIsNoFile) {
  make_dir("dir");
  TextFile f;
  text_create(f, dos("x.txt\\"));
  EXPECT_NE(io_status(), 0);
  EXPECT_FALSE(exists("x.txt"));
  RecordFile r;
  records_open(r, dos("dir"), 256);
  EXPECT_EQ(io_status(), kErrAccessDenied);
}

}  // namespace

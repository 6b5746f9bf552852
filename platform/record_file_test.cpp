#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "zazaz32/scratch_dir_fixture.h"

namespace {

constexpr int kSize = 4;

class RecordFileTest : public ScratchDirTest {
 protected:
  std::string content(const std::string& relative) const {
    std::ifstream in(native(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void write_record(RecordFile& f, const char* text) {
    records_write(f, reinterpret_cast<const unsigned char*>(text));
  }
  static std::string read_record(RecordFile& f) {
    unsigned char record[kSize] = {};
    records_read(f, record);
    return std::string(reinterpret_cast<const char*>(record), kSize);
  }
};

TEST_F(RecordFileTest, ReadsAndWritesRecordsAtTheCurrentOne) {
  RecordFile f;
  records_create_new(f, dos("LIST.TMP"), kSize);
  write_record(f, "aaaa");
  write_record(f, "bbbb");
  write_record(f, "cccc");
  ASSERT_EQ(io_status(), 0);
  EXPECT_EQ(records_count(f), 3);
  EXPECT_TRUE(records_at_end(f));
  records_seek(f, 1);
  EXPECT_FALSE(records_at_end(f));
  EXPECT_EQ(read_record(f), "bbbb");
  EXPECT_EQ(f.position, 2);
  records_seek(f, 0);
  write_record(f, "AAAA");  // overwrites in place
  records_seek(f, records_count(f));
  write_record(f, "dddd");  // appends
  records_close(f);
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(content("LIST.TMP"), "AAAAbbbbccccdddd");
}

TEST_F(RecordFileTest, ReadingPastTheEndFails) {
  RecordFile f;
  records_create_new(f, dos("LIST.TMP"), kSize);
  write_record(f, "aaaa");
  records_seek(f, 1);
  read_record(f);
  EXPECT_EQ(io_status(), kErrHandleEof);
  EXPECT_EQ(f.position, 1);  // a failed read does not advance
  records_close(f);
  EXPECT_EQ(io_status(), 0);
}

TEST_F(RecordFileTest, OpenKeepsTheContentAndCountsWholeRecordsOnly) {
  std::ofstream(native("LIST.TMP"), std::ios::binary) << "aaaabbbbcc";
  RecordFile f;
  records_open(f, dos("LIST.TMP"), kSize);
  ASSERT_EQ(io_status(), 0);
  EXPECT_EQ(records_count(f), 2);
  EXPECT_EQ(read_record(f), "aaaa");
  records_seek(f, 2);
  EXPECT_TRUE(records_at_end(f));  // the half record is not one
  records_close(f);
  EXPECT_EQ(io_status(), 0);
}

TEST_F(RecordFileTest, CreateNewRefusesAnExistingFileAndLeavesItAlone) {
  std::ofstream(native("list.tmp"), std::ios::binary) << "keep";
  const char* names[] = {"list.tmp", "LIST.TMP"};  // the same file in any case
  for (const char* name : names) {
    SCOPED_TRACE(name);
    RecordFile f;
    records_create_new(f, dos(name), kSize);
    EXPECT_EQ(io_status(), kErrFileExists);
    EXPECT_EQ(f.handle, -1);
  }
  EXPECT_EQ(content("list.tmp"), "keep");
}

TEST_F(RecordFileTest, OpenOfAMissingFileFails) {
  RecordFile f;
  records_open(f, dos("NONE.TMP"), kSize);
  EXPECT_EQ(io_status(), kErrFileNotFound);
  EXPECT_FALSE(exists("NONE.TMP"));
}

TEST_F(RecordFileTest, TheStrictCallsEndTheRunWhenTheyCannotAnswer) {
  RecordFile closed;
  closed.size = kSize;
  EXPECT_EXIT(records_count(closed), testing::ExitedWithCode(217), "records_count");
  EXPECT_EXIT(records_at_end(closed), testing::ExitedWithCode(217), "records_at_end");
  // An unread failure is theirs to read, and it ends the run as well.
  RecordFile f;
  records_create_new(f, dos("LIST.TMP"), kSize);
  ASSERT_EQ(io_status(), 0);
  records_open(closed, dos("NONE.TMP"), kSize);
  EXPECT_EXIT(records_at_end(f), testing::ExitedWithCode(217), "records_at_end");
  io_status();
  records_close(f);
}

}  // namespace

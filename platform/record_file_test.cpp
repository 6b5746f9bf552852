#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
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

// The list of directories is a queue kept in the file: records are read from
// the front while new ones are appended, thousands of them, far more than the
// buffers hold. Every record must come back, in order, and the file on disk
// must hold them all once it is closed.
TEST_F(RecordFileTest, AQueueLongerThanTheBuffersKeepsEveryRecord) {
  constexpr int kLong = 256;
  constexpr int kRecords = 5000;
  auto record_of = [](int n) {
    std::string r(kLong, '\0');
    std::snprintf(r.data(), r.size(), "record %d", n);
    return r;
  };
  auto f = std::make_unique<RecordFile>();  // 64 KiB of buffers: not on the stack
  records_create_new(*f, dos("QUEUE.TMP"), kLong);
  ASSERT_EQ(io_status(), 0);
  int written = 0;
  auto append = [&] {
    records_seek(*f, records_count(*f));
    records_write(*f, reinterpret_cast<const unsigned char*>(record_of(written++).data()));
  };
  append();
  std::int64_t next = 0;
  unsigned char got[kLong];
  while (records_seek(*f, next), !records_at_end(*f)) {
    records_read(*f, got);
    ASSERT_EQ(io_status(), 0);
    ASSERT_EQ(std::string(reinterpret_cast<char*>(got), kLong), record_of(static_cast<int>(next)));
    ++next;
    for (int i = 0; i < 2 && written < kRecords; ++i) append();  // a parent with two children
  }
  EXPECT_EQ(next, kRecords);
  records_close(*f);
  ASSERT_EQ(io_status(), 0);
  std::string disk = content("QUEUE.TMP");
  ASSERT_EQ(disk.size(), static_cast<std::size_t>(kRecords) * kLong);
  for (int n : {0, 127, 128, 129, 4999}) {
    EXPECT_EQ(disk.substr(static_cast<std::size_t>(n) * kLong, kLong), record_of(n)) << n;
  }
  // Opened again, the file reads back through the cache, and a record
  // written over one on disk reads back changed.
  records_open(*f, dos("QUEUE.TMP"), kLong);
  EXPECT_EQ(records_count(*f), kRecords);
  records_seek(*f, 200);
  records_read(*f, got);
  records_seek(*f, 201);
  records_write(*f, reinterpret_cast<const unsigned char*>(record_of(7).data()));
  records_seek(*f, 201);
  records_read(*f, got);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(got), kLong), record_of(7));
  records_close(*f);
  EXPECT_EQ(io_status(), 0);
}

}  // namespace

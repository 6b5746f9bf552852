// Drives and directories against the real working directory and file system.

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "platform/posix/case_lookup.h"
#include "platform/posix/drive_map.h"
#include "zazaz32/scratch_dir_fixture.h"

namespace {

constexpr int kDriveC = 3;
constexpr int kDriveZ = 26;

class DrivesTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    drive_map_load();
    case_lookup_forget();
  }
  void TearDown() override {
    ScratchDirTest::TearDown();
    drive_map_load();
  }
  static std::filesystem::path cwd() { return std::filesystem::current_path(); }
};

TEST_F(DrivesTest, TheCurrentDirectoryIsTheWorkingDirectoryOnZ) {
  std::string unix_cwd = cwd().string();
  std::string expected = "Z:";
  for (char c : unix_cwd) expected += c == '/' ? '\\' : c;
  EXPECT_EQ(current_directory(0).str(), expected);
  EXPECT_EQ(current_directory(kDriveZ).str(), expected);
  EXPECT_EQ(current_directory(kDriveC).str(), "C:\\");  // no such drive: its root
  std::filesystem::current_path("/");
  EXPECT_EQ(current_directory(0).str(), "Z:\\");  // only a root ends in "\"
}

TEST_F(DrivesTest, EnterDirMovesTheWorkingDirectory) {
  make_dir("sub\\deeper");
  std::filesystem::path root = cwd();
  enter_dir("SUB");  // found whatever its case
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(cwd(), root / "sub");
  EXPECT_EQ(current_directory(0).str(), dos("sub").str());
  enter_dir(dos("sub\\deeper"));
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(cwd(), root / "sub" / "deeper");
  enter_dir("..\\..");
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(cwd(), root);
  enter_dir("Z:");  // the current drive at its current directory: no move
  enter_dir("");    // nothing at all
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(cwd(), root);
}

TEST_F(DrivesTest, EnterDirFailuresLeaveTheDirectoryAndBlockUntilRead) {
  std::filesystem::path root = cwd();
  make_dir("sub");
  make_file("file", 1);
  const Str255 failing[] = {"missing", "file", "C:", "C:\\DATA"};
  for (const Str255& path : failing) {
    SCOPED_TRACE(path.str());
    enter_dir(path);
    EXPECT_NE(io_status(), 0);
    EXPECT_EQ(cwd(), root);
  }
  enter_dir("missing");
  enter_dir("sub");  // does nothing while the failure is unread
  EXPECT_EQ(cwd(), root);
  EXPECT_EQ(io_status(), kErrFileNotFound);
  enter_dir("sub");
  EXPECT_EQ(io_status(), 0);
  EXPECT_EQ(cwd(), root / "sub");
}

TEST_F(DrivesTest, CreateDirMakesOneLevel) {
  make_dir("parent");
  create_dir(dos("PARENT\\New"));  // the parent in any case, the new name as given
  EXPECT_EQ(io_status(), 0);
  EXPECT_TRUE(std::filesystem::is_directory(native("parent\\New")));
  create_dir(dos("parent\\NEW"));  // exists in another case
  EXPECT_EQ(io_status(), kErrFileExists);
  create_dir(dos("a\\b"));  // no level above it
  EXPECT_NE(io_status(), 0);
  EXPECT_FALSE(exists("a"));
  create_dir("");
  EXPECT_EQ(io_status(), 0);
}

TEST_F(DrivesTest, SizesComeFromTheRootsFileSystem) {
  struct statvfs root;
  ASSERT_EQ(statvfs("/", &root), 0);
  auto block = static_cast<std::int64_t>(root.f_frsize);
  EXPECT_EQ(drive_capacity(kDriveZ), static_cast<std::int64_t>(root.f_blocks) * block);
  EXPECT_EQ(drive_capacity(0), drive_capacity(kDriveZ));
  std::int64_t free_bytes = drive_free(0);
  EXPECT_GE(free_bytes, 0);
  EXPECT_LE(free_bytes, drive_capacity(0));
  EXPECT_EQ(free_bytes % block, 0);
  const int no_drive[] = {kDriveC, 1, 27, -1};
  for (int d : no_drive) {
    SCOPED_TRACE(d);
    EXPECT_EQ(drive_capacity(d), -1);
    EXPECT_EQ(drive_free(d), -1);
  }
}

TEST_F(DrivesTest, AMappedDriveKeepsItsOwnCurrentDirectory) {
  make_dir("c\\sub");
  std::filesystem::path root = cwd();
  Str255 z_directory = current_directory(0);
  set_env("VESK_DRIVE_C", (root / "c").string());
  drive_map_load();
  EXPECT_EQ(current_directory(kDriveC).str(), "C:\\");
  EXPECT_GT(drive_capacity(kDriveC), 0);
  enter_dir("C:\\SUB");
  ASSERT_EQ(io_status(), 0);
  EXPECT_EQ(cwd(), root / "c" / "sub");
  EXPECT_EQ(current_directory(0).str(), "C:\\sub");
  EXPECT_EQ(current_directory(kDriveZ).str(), z_directory.str());
  enter_dir("Z:");
  ASSERT_EQ(io_status(), 0);
  EXPECT_EQ(cwd(), root);
  EXPECT_EQ(current_directory(0).str(), z_directory.str());
  EXPECT_EQ(current_directory(kDriveC).str(), "C:\\sub");
  enter_dir("C:");  // back at C:'s own directory
  ASSERT_EQ(io_status(), 0);
  EXPECT_EQ(cwd(), root / "c" / "sub");
}

}  // namespace

#include "platform/posix/drive_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "zazaz32/scratch_dir_fixture.h"

namespace {

// Runs in a scratch directory, so that relative paths have a known base.
class DriveMapTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    drive_map_load();
    base_ = std::filesystem::current_path().string();
  }
  void TearDown() override {
    ScratchDirTest::TearDown();
    drive_map_load();  // forget the letters a test mapped
  }
  std::string base_;
};

struct MappingCase {
  const char* dos;
  const char* unix_path;  // "@" stands for the working directory
  bool at_root;
  bool trailing_separator;
};

TEST_F(DriveMapTest, MapsDosPathsOntoTheUnixTree) {
  std::string parent = std::filesystem::path(base_).parent_path().string();
  const MappingCase cases[] = {
      {"Z:\\", "/", true, true},
      {"Z:", "@", false, false},
      {"", "@", false, false},
      {"z:/", "/", true, true},
      {"a\\b", "@/a/b", false, false},
      {"a/b", "@/a/b", false, false},
      {"Z:a\\b", "@/a/b", false, false},
      {"\\etc\\passwd", "/etc/passwd", false, false},
      {"/etc/passwd", "/etc/passwd", false, false},
      {"Z:\\ETC\\", "/ETC", false, true},
      {"Z:\\a\\.\\b\\..\\c", "/a/c", false, false},
      {"Z:\\a\\\\b", "/a/b", false, false},
      {"Z:\\..\\..\\x", "/x", false, false},
      {"Z:\\a\\..", "/", true, false},
  };
  for (const MappingCase& c : cases) {
    SCOPED_TRACE(c.dos);
    UnixPath path;
    int error = -1;
    ASSERT_TRUE(map_dos_path(c.dos, false, path, error));
    std::string expected = c.unix_path;
    if (expected.starts_with('@')) expected = base_ + expected.substr(1);
    EXPECT_EQ(path.text, expected);
    EXPECT_EQ(path.drive, 'Z');
    EXPECT_EQ(path.at_root, c.at_root);
    EXPECT_EQ(path.trailing_separator, c.trailing_separator);
    EXPECT_EQ(error, 0);
  }
  UnixPath up;
  int error = 0;
  ASSERT_TRUE(map_dos_path("..\\x", false, up, error));
  EXPECT_EQ(up.text, parent + "/x");
}

TEST_F(DriveMapTest, RefusesWhatNoDriveHoldsOrNoNameMay) {
  const struct {
    const char* dos;
    bool wildcards_in_last;
    int error;
  } cases[] = {
      {"C:\\DATA", false, kErrPathNotFound},  // C: is not mapped
      {"c:", false, kErrPathNotFound},
      {"\\\\SERVER\\SHARE\\F", false, kErrPathNotFound},
      {"Z:\\DATA\\*.TXT", false, kErrInvalidName},
      {"Z:\\D*\\F.TXT", true, kErrInvalidName},  // a wildcard only in the last piece
      {"Z:\\DATA\\*.TXT\\", true, kErrInvalidName},
      {"Z:\\A|B", false, kErrInvalidName},
      {"Z:\\A:B", false, kErrInvalidName},
      {"Z:\\A\x01", false, kErrInvalidName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dos);
    UnixPath path;
    int error = 0;
    EXPECT_FALSE(map_dos_path(c.dos, c.wildcards_in_last, path, error));
    EXPECT_EQ(error, c.error);
  }
  UnixPath pattern;
  int error = 0;
  EXPECT_TRUE(map_dos_path("Z:\\DATA\\O*.?XT", true, pattern, error));
  EXPECT_EQ(pattern.text, "/DATA/O*.?XT");
}

TEST_F(DriveMapTest, WritesUnixPathsInDosForm) {
  EXPECT_EQ(dos_of_unix('Z', "/").str(), "Z:\\");
  EXPECT_EQ(dos_of_unix('Z', "/home/me").str(), "Z:\\home\\me");
  EXPECT_EQ(drive_directory('Z').str(), dos_of_unix('Z', base_).str());
  EXPECT_EQ(current_drive(), 'Z');
}

TEST_F(DriveMapTest, ALetterNamedInTheEnvironmentIsADriveOverItsDirectory) {
  make_dir("c\\sub");
  set_env("VESK_DRIVE_C", base_ + "/c");
  set_env("VESK_DRIVE_D", base_ + "/missing");
  drive_map_load();
  EXPECT_EQ(drive_root('C'), base_ + "/c");
  EXPECT_EQ(drive_root('d'), "");  // its directory does not exist
  UnixPath path;
  int error = 0;
  ASSERT_TRUE(map_dos_path("c:\\sub\\..\\..\\f.txt", false, path, error));
  EXPECT_EQ(path.text, base_ + "/c/f.txt");  // ".." stops at the drive's root
  EXPECT_EQ(path.drive, 'C');
  ASSERT_TRUE(map_dos_path("C:sub", false, path, error));  // from its current directory, the root
  EXPECT_EQ(path.text, base_ + "/c/sub");
  ASSERT_TRUE(map_dos_path("C:\\", false, path, error));
  EXPECT_TRUE(path.at_root);
  EXPECT_EQ(dos_of_unix('C', base_ + "/c/sub").str(), "C:\\sub");
}

}  // namespace

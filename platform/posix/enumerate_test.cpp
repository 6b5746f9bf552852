// The enumeration and attribute services against a real directory tree.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/case_lookup.h"
#include "zazaz32/path.h"
#include "zazaz32/scratch_dir_fixture.h"

namespace {

constexpr std::uint16_t kEverything = 0x37;  // files and directories, hidden and system too
constexpr std::uint16_t kAllFiles = 0x66;
constexpr std::uint16_t kPlainFiles = 0x00;

struct Seen {
  std::string name;
  std::int64_t size;
  std::uint16_t attr;
  bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out) {
  *out << "{" << seen.name << ", " << seen.size << ", 0x" << std::hex << seen.attr << "}";
}

class EnumerateTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    case_lookup_forget();
  }

  // data\ with a file of each kind of attribute.
  void make_data_tree() {
    make_dir("data\\sub");
    make_file("data\\b.txt", 10);
    make_file("data\\A.TXT", 3);
    make_file("data\\.hidden", 1);
    make_file("data\\sys.dat", 2);
    make_file("data\\both.dat", 4);
    make_file("data\\ro.txt", 5);
    make_file("data\\Zeta", 6);
    make_file("data\\_under", 7);
    set_dosattrib("data/sys.dat", "0x4");
    set_dosattrib("data/both.dat", std::string("0x26\0binary tail", 16));
    std::filesystem::permissions(native("data\\ro.txt"), std::filesystem::perms::owner_read);
    std::filesystem::create_directory_symlink("sub", native("data\\link"));
  }

  void set_dosattrib(const std::string& relative, const std::string& value) {
    ASSERT_EQ(setxattr(native(relative).c_str(), "user.DOSATTRIB", value.data(), value.size(), 0),
              0)
        << "the scratch directory's file system keeps no user extended attributes";
  }

  static std::vector<Seen> scan(const Str255& pattern, std::uint16_t mask) {
    std::vector<Seen> seen;
    DirEntry entry;
    for (bool more = scan_first(pattern, mask, entry); more; more = scan_next(entry)) {
      EXPECT_EQ(os_status(), 0);
      seen.push_back({entry.name.str(), entry.size, entry.attr});
    }
    EXPECT_NE(os_status(), 0);  // the end is reported as such
    return seen;
  }

  static std::vector<std::string> names(const std::vector<Seen>& seen) {
    std::vector<std::string> result;
    for (const Seen& s : seen) result.push_back(s.name);
    return result;
  }
};

TEST_F(EnumerateTest, DeliversEveryEntryInDosOrderWithItsAttributes) {
  make_data_tree();
  const std::vector<Seen> expected = {
      {".", 0, 0x10},      {"..", 0, 0x10},       {".hidden", 1, 0x22}, {"A.TXT", 3, 0x20},
      {"b.txt", 10, 0x20}, {"both.dat", 4, 0x26}, {"link", 0, 0x410},   {"ro.txt", 5, 0x21},
      {"sub", 0, 0x10},    {"sys.dat", 2, 0x24},  {"Zeta", 6, 0x20},    {"_under", 7, 0x20},
  };
  EXPECT_EQ(scan(dos("data\\*.*"), kEverything), expected);
  EXPECT_EQ(scan(dos("data\\*"), kEverything), expected);
}

TEST_F(EnumerateTest, TheMaskLeavesOutWhatItLacks) {
  make_data_tree();
  EXPECT_EQ(names(scan(dos("data\\*.*"), kAllFiles)),
            (std::vector<std::string>{".hidden", "A.TXT", "b.txt", "both.dat", "ro.txt", "sys.dat",
                                      "Zeta", "_under"}));
  EXPECT_EQ(names(scan(dos("data\\*.*"), kPlainFiles)),
            (std::vector<std::string>{"A.TXT", "b.txt", "ro.txt", "Zeta", "_under"}));
}

TEST_F(EnumerateTest, TheDirectoryWalkGivesOnlyDirectoriesAndTellsLinks) {
  make_data_tree();
  make_dir("data\\.hid");
  std::filesystem::create_symlink("b.txt", native("data\\filelink"));
  std::vector<Seen> seen;
  DirEntry entry;
  for (bool more = scan_dirs_first(dos("data\\*.*"), entry); more; more = scan_dirs_next(entry)) {
    seen.push_back({entry.name.str(), entry.size, entry.attr});
  }
  EXPECT_NE(os_status(), 0);
  const std::vector<Seen> expected = {
      {".", 0, 0x10}, {"..", 0, 0x10}, {".hid", 0, 0x10}, {"link", 0, 0x410}, {"sub", 0, 0x10}};
  EXPECT_EQ(seen, expected);
}

TEST_F(EnumerateTest, PatternsMatchIgnoringCase) {
  make_data_tree();
  const struct {
    const char* pattern;
    std::vector<std::string> names;
  } cases[] = {
      {"*.TXT", {"A.TXT", "b.txt", "ro.txt"}},
      {"?.txt", {"A.TXT", "b.txt"}},
      {"*.DAT", {"both.dat", "sys.dat"}},
      {"S*", {"sub", "sys.dat"}},
      {"*.NONE", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(names(scan(dos("data\\") + Str255(c.pattern), kEverything)), c.names);
  }
}

TEST_F(EnumerateTest, ANameWithoutWildcardsIsLookedUpItself) {
  make_data_tree();
  make_file("data\\Mixed", 1);
  make_file("data\\MIXED", 2);  // two names that fold alike: the exact one wins
  EXPECT_EQ(scan(dos("data\\MIXED"), kEverything), (std::vector<Seen>{{"MIXED", 2, 0x20}}));
  EXPECT_EQ(scan(dos("data\\Mixed"), kEverything), (std::vector<Seen>{{"Mixed", 1, 0x20}}));
  // Written in another case it is found under its own name.
  EXPECT_EQ(scan(dos("data\\B.TXT"), kAllFiles), (std::vector<Seen>{{"b.txt", 10, 0x20}}));
  EXPECT_EQ(scan(dos("data\\."), kEverything), (std::vector<Seen>{{".", 0, 0x10}}));
  // A directory does not pass a mask for files.
  EXPECT_EQ(scan(dos("data\\sub"), kAllFiles), std::vector<Seen>{});
  EXPECT_EQ(scan(dos("data\\none"), kEverything), std::vector<Seen>{});
}

TEST_F(EnumerateTest, AnUpperCasedPathFindsTheTreeAsItIsWritten) {
  make_data_tree();
  Str255 upper = UPSTR(dos("data\\*.TXT"));
  ASSERT_NE(upper, dos("data\\*.TXT"));
  EXPECT_EQ(names(scan(upper, kAllFiles)), (std::vector<std::string>{"A.TXT", "b.txt", "ro.txt"}));
  // Once more, now from the remembered directory.
  EXPECT_EQ(names(scan(UPSTR(dos("data\\SUB\\*.*")), kEverything)),
            (std::vector<std::string>{".", ".."}));
  EXPECT_EQ(read_attributes(UPSTR(dos("data\\ro.txt"))), 0x21);
}

TEST_F(EnumerateTest, ADirectoryRenamedSinceItsLookupIsLookedUpAfresh) {
  make_dir("data\\sub");
  make_file("data\\sub\\one.txt", 1);
  Str255 upper = UPSTR(dos("data\\sub\\*.*"));
  EXPECT_EQ(names(scan(upper, kAllFiles)), std::vector<std::string>{"one.txt"});
  std::filesystem::rename(native("data"), native("old"));
  make_dir("Data\\sub");
  make_file("Data\\sub\\two.txt", 1);
  EXPECT_EQ(names(scan(upper, kAllFiles)), std::vector<std::string>{"two.txt"});
}

TEST_F(EnumerateTest, ADriveRootHasNoDotEntries) {
  std::vector<std::string> root = names(scan("Z:\\*.*", kEverything));
  ASSERT_FALSE(root.empty());
  for (const std::string& name : root) EXPECT_TRUE(name != "." && name != "..") << name;
  EXPECT_EQ(scan("Z:\\.", kEverything), std::vector<Seen>{});
}

TEST_F(EnumerateTest, SizesAreTheRealLengthsPastFourGigabytes) {
  constexpr std::int64_t kFiveGiB = std::int64_t{5} << 30;
  make_file("big.bin", static_cast<std::uintmax_t>(kFiveGiB));  // sparse
  EXPECT_EQ(scan(dos("big.bin"), kAllFiles), (std::vector<Seen>{{"big.bin", kFiveGiB, 0x20}}));
  EXPECT_EQ(scan(dos("*.BIN"), kAllFiles), (std::vector<Seen>{{"big.bin", kFiveGiB, 0x20}}));
}

TEST_F(EnumerateTest, WhatCannotBeListedGivesNoEntryAndAStatus) {
  const char* patterns[] = {"Z:\\no-such-dir-here\\*.*", "C:\\*.*", "Z:\\D*\\X", "Z:\\"};
  for (const char* pattern : patterns) {
    SCOPED_TRACE(pattern);
    DirEntry entry;
    EXPECT_FALSE(scan_first(pattern, kEverything, entry));
    EXPECT_NE(os_status(), 0);
  }
  make_file("f.txt", 1);
  DirEntry entry;
  EXPECT_FALSE(scan_first(dos("f.txt\\*.*"), kEverything, entry));
  EXPECT_EQ(os_status(), kErrPathNotFound);
}

TEST_F(EnumerateTest, ANewScanAbandonsTheOneBefore) {
  make_data_tree();
  DirEntry entry;
  ASSERT_TRUE(scan_first(dos("data\\*.TXT"), kAllFiles, entry));
  ASSERT_TRUE(scan_first(dos("data\\*.DAT"), kAllFiles, entry));
  EXPECT_EQ(entry.name, Str255("both.dat"));
  ASSERT_TRUE(scan_next(entry));
  EXPECT_EQ(entry.name, Str255("sys.dat"));
  EXPECT_FALSE(scan_next(entry));
}

TEST_F(EnumerateTest, ReadAttributesOfFilesDirectoriesAndRoots) {
  make_data_tree();
  const struct {
    Str255 path;
    std::uint16_t attr;
  } cases[] = {
      {dos("data"), 0x10},
      {dos("data\\"), 0x10},
      {dos("data\\link"), 0x410},
      {dos("data\\both.dat"), 0x26},
      {dos("data\\.hidden"), 0x22},
      {"Z:\\", 0x10},
      {"Z:", 0x10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.str());
    EXPECT_EQ(read_attributes(c.path), c.attr);
    EXPECT_EQ(os_status(), 0);
  }
  const Str255 failing[] = {dos("data\\none"), dos("data\\b.txt\\"), "C:\\"};
  for (const Str255& path : failing) {
    SCOPED_TRACE(path.str());
    EXPECT_EQ(read_attributes(path), 0);
    EXPECT_NE(os_status(), 0);
  }
}

TEST_F(EnumerateTest, WriteAttributesSetsReadOnlyHiddenAndSystemAndClearsThem) {
  make_file("f.txt", 1);
  write_attributes(dos("F.TXT"), kAttrArchive | kAttrReadOnly | kAttrHidden | kAttrSystem);
  EXPECT_EQ(os_status(), 0);
  EXPECT_EQ(read_attributes(dos("f.txt")), 0x27);
  write_attributes(dos("f.txt"), kAttrArchive);
  EXPECT_EQ(os_status(), 0);
  EXPECT_EQ(read_attributes(dos("f.txt")), 0x20);
  EXPECT_EQ(access(native("f.txt").c_str(), W_OK), 0);
  write_attributes(dos("none"), kAttrArchive);
  EXPECT_NE(os_status(), 0);
}

}  // namespace

#include "zazaz32/path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "zazaz32/scratch_dir_fixture.h"

namespace {

TEST(PathOfNameOf, SplitDirectoryFromName) {
  struct Case {
    const char* path;
    const char* dir;
    const char* name;
  } const cases[] = {
      {"C:\\DATA\\*.TXT", "C:\\DATA\\", "*.TXT"},
      {"*.TXT", "", "*.TXT"},
      {"C:*.TXT", "C:", "*.TXT"},
      {"C:DATA\\F.TXT", "C:DATA\\", "F.TXT"},
      {"C:\\", "C:\\", ""},
      {"C:", "C:", ""},
      {"DIR\\SUB\\", "DIR\\SUB\\", ""},
      {"C:\\DATA", "C:\\", "DATA"},
      {"C:/DATA/F.TXT", "C:\\DATA\\", "F.TXT"},
      {"\\\\SRV\\SHARE\\F.TXT", "\\\\SRV\\SHARE\\", "F.TXT"},
      {"ARCHIVE.TAR.GZ", "", "ARCHIVE.TAR.GZ"},
      {"", "", ""},
      {"\\F", "\\", "F"},
      {"DIR.X\\F", "DIR.X\\", "F"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("path \"") + c.path + "\"");
    EXPECT_EQ(PATHOF(c.path).str(), c.dir);
    EXPECT_EQ(NAMEOF(c.path).str(), c.name);
  }
}

TEST(PathSplit, ExtensionRunsFromTheLastDotOfTheName) {
  struct Case {
    const char* path;
    const char* dir;
    const char* name;
    const char* ext;
  } const cases[] = {
      {"C:\\DATA\\F.TXT", "C:\\DATA\\", "F", ".TXT"},
      {"ARCHIVE.TAR.GZ", "", "ARCHIVE.TAR", ".GZ"},
      {"C:\\DIR.X\\NAME", "C:\\DIR.X\\", "NAME", ""},
      {"C:\\X\\CON.TXT", "C:\\X\\", "CON", ".TXT"},
      {"F.", "", "F", "."},
      {".profile", "", "", ".profile"},
      {"a/b/c.d", "a\\b\\", "c", ".d"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("path \"") + c.path + "\"");
    PathParts parts = path_split(c.path);
    EXPECT_EQ(parts.dir.str(), c.dir);
    EXPECT_EQ(parts.name.str(), c.name);
    EXPECT_EQ(parts.ext.str(), c.ext);
  }
}

TEST(Upstr, ChangesOnlyAToZ) {
  EXPECT_EQ(UPSTR("c:\\Dir\\f_1.txt").str(), "C:\\DIR\\F_1.TXT");
  EXPECT_EQ(UPSTR("").str(), "");
  EXPECT_EQ(UPSTR("\xe0\xe8@[`{").str(), "\xe0\xe8@[`{");
  const std::string full(255, 'z');
  EXPECT_EQ(UPSTR(full).str(), std::string(255, 'Z'));
}

// The current directory is WORK inside the scratch directory; TEMP names a
// directory of the drive's root, A and B are x and y, UNDEF is not set.
class ExpandTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    make_dir("WORK");
    std::filesystem::current_path(native("WORK"));
    work_ = current_directory(0).str();
    drive_ = work_.substr(0, 2);
    set_env("TEMP", drive_ + "\\TMP");
    set_env("A", "x");
    set_env("B", "y");
    unset_env("UNDEF");
  }

  std::string work_;   // e.g. Z:\tmp\vesk_test_42\WORK
  std::string drive_;  // e.g. Z:
};

struct ExpandCase {
  std::string text;
  std::string result;
};

TEST_F(ExpandTest, Fexpand2MakesFullPathsWithReferencesReplaced) {
  const std::string scratch = dos_root().str();
  const std::string lower_drive = std::string(1, static_cast<char>(drive_[0] - 'A' + 'a')) + ":";
  const ExpandCase cases[] = {
      {"*.TXT", work_ + "\\*.TXT"},
      {"..\\*.TXT", scratch + "\\*.TXT"},
      {"\\DATA", drive_ + "\\DATA"},
      {drive_, work_},
      {drive_ + "\\DATA\\", drive_ + "\\DATA\\"},
      {drive_ + "\\DATA\\..", drive_ + "\\"},
      {drive_ + "\\DATA\\.\\X", drive_ + "\\DATA\\X"},
      {drive_ + "\\..\\..\\X", drive_ + "\\X"},
      {drive_ + "SUB", work_ + "\\SUB"},
      {"DIR\\SUB\\", work_ + "\\DIR\\SUB\\"},
      {".", work_},
      {"", work_ + "\\"},
      {lower_drive + "/dir/f.txt", drive_ + "\\dir\\f.txt"},
      {"%TEMP%\\*.TXT", drive_ + "\\TMP\\*.TXT"},
      {"%temp%\\X", drive_ + "\\TMP\\X"},
      {"%A%%B%", work_ + "\\xy"},
      {"%UNDEF%\\*.TXT", "%UNDEF%\\*.TXT"},
      {"%TEMP%\\%UNDEF%", "%TEMP%\\%UNDEF%"},
      {"50%", "50%"},
      {"%A%\\50%", "%A%\\50%"},
      {"\\\\SRV\\SHARE\\D\\..\\F", "\\\\SRV\\SHARE\\F"},
      {"\\\\SRV\\SHARE\\..\\..", "\\\\SRV\\SHARE\\"},
      {"\\\\SRV", "\\\\SRV\\"},
      {"\\\\", "\\\\"},
      // A drive that cannot be selected starts from its root.
      {"Q:X", "Q:\\X"},
      {"//SRV/SHARE/F", "\\\\SRV\\SHARE\\F"},
  };
  for (const ExpandCase& c : cases) {
    SCOPED_TRACE("text \"" + c.text + "\"");
    EXPECT_EQ(FEXPAND2(c.text).str(), c.result);
  }
}

TEST_F(ExpandTest, WithoutFullOnlyReferencesAreReplaced) {
  const ExpandCase cases[] = {
      {"%A%\\f.txt", "x\\f.txt"}, {"..\\%B%", "..\\y"},         {"", ""},
      {"%UNDEF%", "%UNDEF%"},     {"%A%%UNDEF%", "%A%%UNDEF%"},
  };
  for (const ExpandCase& c : cases) {
    SCOPED_TRACE("text \"" + c.text + "\"");
    EXPECT_EQ(ESPANSIONE(c.text, false).str(), c.result);
  }
}

TEST_F(ExpandTest, ValuesHoldingReferencesAreExpandedInTurn) {
  set_env("INNER", "%A%\\%B%");
  EXPECT_EQ(FEXPAND2("%INNER%").str(), work_ + "\\x\\y");
}

TEST_F(ExpandTest, ReferencesThatNeverEndGiveBackTheText) {
  set_env("SELF", "%SELF%");
  set_env("PING", "%PONG%");
  set_env("PONG", "%PING%");
  EXPECT_EQ(FEXPAND2("%SELF%\\X").str(), "%SELF%\\X");
  EXPECT_EQ(FEXPAND2("%PING%").str(), "%PING%");
  EXPECT_EQ(ESPANSIONE("%PONG%", false).str(), "%PONG%");
}

TEST_F(ExpandTest, EveryReferenceOfAFullTextIsReplaced) {
  // 85 references fill 255 characters: the bound on the passes must not cut
  // such a text short.
  std::string text;
  for (int i = 0; i < 85; ++i) text += "%A%";
  ASSERT_EQ(text.size(), 255u);
  EXPECT_EQ(ESPANSIONE(text, false).str(), std::string(85, 'x'));
}

TEST_F(ExpandTest, ResultsAreCutTo255Characters) {
  set_env("LONG", std::string(200, 'L'));
  Str255 cut = ESPANSIONE("%LONG%%LONG%", false);
  EXPECT_EQ(cut.str(), std::string(255, 'L'));
  Str255 full = FEXPAND2(std::string(250, 'F'));
  EXPECT_EQ(full.str(), (work_ + "\\" + std::string(250, 'F')).substr(0, 255));
}

// A small tree: a directory with a file in it, files of 5 and 0 bytes and a
// hidden one, all in the scratch directory, which is also the current one.
class PathQueryTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    make_dir("SUB");
    make_file("SUB\\INNER.DAT", 7);
    make_file("FILE.TXT", 5);
    make_file("EMPTY", 0);
    make_file(".hidden", 3);
  }
};

TEST_F(PathQueryTest, IsdirTrueOnlyForExistingDirectories) {
  struct Case {
    Str255 path;
    bool is_dir;
  } const cases[] = {
      {dos_root(), true},
      {dos("SUB"), true},
      {dos("SUB\\"), true},
      {"SUB", true},
      {dos_root().copy(1, 3), true},  // the drive's root
      {dos("FILE.TXT"), false},
      {dos(".hidden"), false},
      {dos("MISSING"), false},
      {dos("MISSING\\SUB"), false},
      {"", false},
      {"\\\\", false},
      // Doubled backslashes after the start name no directory, even where
      // the system would read them as one.
      {dos_root() + Str255("\\\\SUB"), false},
      {dos("SUB\\\\"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("path \"" + c.path.str() + "\"");
    EXPECT_EQ(ISDIR(c.path), c.is_dir);
  }
}

TEST_F(PathQueryTest, ExistGivesTheSizeOfFilesOnly) {
  struct Case {
    Str255 path;
    std::int64_t size;
  } const cases[] = {
      {dos("FILE.TXT"), 5},
      {"FILE.TXT", 5},
      {dos("SUB\\INNER.DAT"), 7},
      {dos("EMPTY"), 0},
      {dos(".hidden"), 3},
      {dos("SUB"), -1},
      {dos("SUB\\"), -1},
      {dos("MISSING"), -1},
      {"", -1},
      // A final "." or a wildcard names no single file, even with one there.
      {dos("FILE.TXT."), -1},
      {dos("EMPTY."), -1},
      {dos("FILE.*"), -1},
      {dos("FILE.TX?"), -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("path \"" + c.path.str() + "\"");
    EXPECT_EQ(EXIST(c.path), c.size);
  }
}

TEST_F(PathQueryTest, ExistGivesTheRealSizeOfLargeFiles) {
  // Sparse files: their low 32 bits would read as negative or as a small
  // size, and the first would look absent.
  const std::int64_t two_gib = std::int64_t{1} << 31;
  const std::int64_t four_gib_and_one = (std::int64_t{1} << 32) + 1;
  make_file("TWO.GIB", static_cast<std::uintmax_t>(two_gib));
  make_file("FOUR.GIB", static_cast<std::uintmax_t>(four_gib_and_one));
  EXPECT_EQ(EXIST(dos("TWO.GIB")), two_gib);
  EXPECT_EQ(EXIST(dos("FOUR.GIB")), four_gib_and_one);
}

}  // namespace

#include "scan/temp_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "zazaz32/path.h"
#include "zazaz32/scratch_dir_fixture.h"

namespace {

const char kName[] = "VESK____.TMP";

TEST(TmpCandidate, NumberedVariantsHaveAnEightCharacterStem) {
  struct Case {
    const char* name;
    int n;
    const char* file;
  } const cases[] = {
      {kName, -1, "VESK____.TMP"},
      {kName, 0, "VESK___0.TMP"},
      {kName, 1, "VESK___1.TMP"},
      {kName, 9, "VESK___9.TMP"},
      {kName, 10, "VESK__10.TMP"},
      {kName, 12345, "VES12345.TMP"},
      {kName, 99999999, "99999999.TMP"},
      {"ABC", -1, "ABC"},
      {"ABC", 0, "ABC00000"},
      {"ABC", 42, "ABC00042"},
      {"ABC.", 0, "ABC00000"},
      {"LONGSTEMNAME.TEXT", -1, "LONGSTEMNAME.TEXT"},
      {"LONGSTEMNAME.TEXT", 1, "LONGSTE1.TEX"},
      {"A.B.C", 0, "A0000000.B.C"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " number " << c.n);
    EXPECT_EQ(TMP_CANDIDATE("D:\\T\\", c.name, c.n).str(), std::string("D:\\T\\") + c.file);
  }
  EXPECT_TRUE(TMP_CANDIDATE("D:\\T\\", kName, 100000000).empty());
}

TEST(TmpCandidate, EmptyWhenThePathWouldNotFit) {
  const std::string dir_243 = "D:\\" + std::string(239, 'd') + "\\";
  ASSERT_EQ(dir_243.size(), 243u);
  EXPECT_EQ(TMP_CANDIDATE(dir_243, kName, -1).length(), 255);
  EXPECT_EQ(TMP_CANDIDATE(dir_243, kName, 7).length(), 255);
  EXPECT_TRUE(TMP_CANDIDATE(dir_243 + "d", kName, -1).empty());
  EXPECT_TRUE(TMP_CANDIDATE(dir_243 + "d", kName, 7).empty());
  // A short name fits where its numbered variants do not.
  const std::string dir_250 = dir_243 + "ddddddd";
  EXPECT_EQ(TMP_CANDIDATE(dir_250, "AB", -1).str(), dir_250 + "AB");
  EXPECT_TRUE(TMP_CANDIDATE(dir_250, "AB", 0).empty());
}

// Neither TMP nor TEMP is set unless a test sets it.
class TempFileTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    unset_env("TMP");
    unset_env("TEMP");
  }
};

TEST_F(TempFileTest, NewdirCreatesMissingLevelsAndComesBackHome) {
  make_dir("A");
  make_file("F", 1);
  // Home is a directory of its own, so that a walk that stops anywhere in
  // the scratch tree without coming back shows.
  make_dir("HOME");
  std::filesystem::current_path(native("HOME"));
  const Str255 home = current_directory(0);
  struct Case {
    Str255 path;
    int code;
    const char* made;  // a directory that must exist afterwards
  } const cases[] = {
      {dos("A\\B\\C"), 0, "A\\B\\C"}, {dos("N\\"), 0, "N"},  {"REL\\X", 0, "HOME\\REL\\X"},
      {dos("A\\..\\NEW"), 0, "NEW"},  {dos("A"), -4, "A"},   {dos("A\\B"), -4, "A\\B"},
      {dos("A\\..\\A"), -4, "A"},     {dos_root(), -4, "A"}, {dos("F\\X"), -3, "A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("path \"" + c.path.str() + "\"");
    EXPECT_EQ(NEWDIR(c.path), c.code);
    EXPECT_TRUE(std::filesystem::is_directory(native(c.made)));
    EXPECT_EQ(current_directory(0).str(), home.str());
  }
}

TEST_F(TempFileTest, NewdirRefusesInvalidPathsWithoutTouchingAnything) {
  const Str255 home = current_directory(0);
  EXPECT_EQ(NEWDIR(""), 1);
  EXPECT_GT(NEWDIR(dos("OK\\BAD|NAME")), 0);
  EXPECT_GT(NEWDIR(dos("OK\\NUL\\X")), 0);
  EXPECT_GT(NEWDIR(dos("OK\\\\X")), 0);
  EXPECT_FALSE(exists("OK"));
  EXPECT_EQ(current_directory(0).str(), home.str());
}

TEST_F(TempFileTest, AnUnknownDriveIsNoPlace) {
  if (ISDIR("Q:\\")) GTEST_SKIP() << "drive Q: exists here";
  const Str255 home = current_directory(0);
  EXPECT_EQ(NEWDIR("Q:\\X"), -1);
  EXPECT_EQ(current_directory(0).str(), home.str());

  make_dir("E");
  set_env("TMP", "Q:\\TEMP");
  set_env("TEMP", dos("E").str());
  EXPECT_EQ(TMPFILE(kName).str(), dos("E\\VESK____.TMP").str());
}

TEST_F(TempFileTest, TmpNamesTheFileInTheDirectoryOfTmp) {
  make_dir("T");
  for (const Str255& value : {dos("T"), dos("T\\")}) {
    SCOPED_TRACE("TMP=" + value.str());
    set_env("TMP", value.str());
    EXPECT_EQ(TMPFILE(kName).str(), dos("T\\VESK____.TMP").str());
  }
  EXPECT_FALSE(exists("T\\VESK____.TMP"));
}

TEST_F(TempFileTest, TakenNamesGiveWayToNumberedVariants) {
  make_dir("T");
  set_env("TMP", dos("T").str());
  make_file("T\\VESK____.TMP", 0);
  EXPECT_EQ(TMPFILE(kName).str(), dos("T\\VESK___0.TMP").str());
  make_file("T\\VESK___0.TMP", 10);
  EXPECT_EQ(TMPFILE(kName).str(), dos("T\\VESK___1.TMP").str());
}

TEST_F(TempFileTest, ADirectoryOfThatNameIsNoTakenFile) {
  make_dir("T\\VESK____.TMP");
  set_env("TMP", dos("T").str());
  EXPECT_EQ(TMPFILE(kName).str(), dos("T\\VESK____.TMP").str());
}

TEST_F(TempFileTest, AMissingTmpDirectoryIsCreated) {
  make_dir("A");
  set_env("TMP", dos("A\\B\\C").str());
  const Str255 home = current_directory(0);
  EXPECT_EQ(TMPFILE(kName).str(), dos("A\\B\\C\\VESK____.TMP").str());
  EXPECT_TRUE(std::filesystem::is_directory(native("A\\B\\C")));
  EXPECT_FALSE(exists("A\\B\\C\\VESK____.TMP"));
  EXPECT_EQ(current_directory(0).str(), home.str());
}

TEST_F(TempFileTest, UnusableTmpGivesWayToTemp) {
  make_dir("E");
  make_file("FILE", 1);
  set_env("TEMP", dos("E").str());
  // 240 characters: room for "\" but not for the name.
  const std::string long_piece(static_cast<std::size_t>(249 - dos_root().length()), 'L');
  const std::string too_long = dos(long_piece).str();
  ASSERT_EQ(too_long.size(), 250u);
  const std::string cases[] = {
      "",
      dos("FILE").str(),       // neither enterable nor creatable
      dos("BAD|DIR").str(),    // an invalid name
      dos("X\\CON\\Y").str(),  // a device in the middle
      too_long,                // no room for the name after it
  };
  for (const std::string& value : cases) {
    SCOPED_TRACE("TMP=" + value);
    set_env("TMP", value);
    EXPECT_EQ(TMPFILE(kName).str(), dos("E\\VESK____.TMP").str());
  }
  unset_env("TMP");
  EXPECT_EQ(TMPFILE(kName).str(), dos("E\\VESK____.TMP").str());
  // The long directory is skipped before anything is created for it.
  EXPECT_FALSE(exists(long_piece));
}

TEST_F(TempFileTest, WithoutTmpAndTempTheCurrentDirectoryServes) {
  EXPECT_EQ(TMPFILE(kName).str(), dos(kName).str());
  set_env("TMP", "");
  set_env("TEMP", "");
  EXPECT_EQ(TMPFILE(kName).str(), dos(kName).str());
}

TEST_F(TempFileTest, AtADriveRootNoSecondBackslashIsAdded) {
  std::filesystem::current_path(native("").root_path());
  const Str255 root = current_directory(0);
  ASSERT_EQ(root.length(), 3) << root.str();
  if (std::filesystem::exists(native("").root_path() / kName)) {
    GTEST_SKIP() << "a file " << kName << " is already at the root";
  }
  EXPECT_EQ(TMPFILE(kName).str(), root.str() + kName);
}

TEST_F(TempFileTest, NamesWithAPathOrAWildcardGiveNothing) {
  make_dir("T");
  set_env("TMP", dos("T").str());
  const char* const names[] = {"X\\VESK____.TMP", "D:VESK.TMP", "X/VESK.TMP", "VESK*.TMP",
                               "VESK?.TMP",       "",           "NUL",        "BAD|NAME"};
  for (const char* name : names) {
    SCOPED_TRACE(std::string("name \"") + name + "\"");
    EXPECT_TRUE(TMPFILE(name).empty());
  }
}

}  // namespace

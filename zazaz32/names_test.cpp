#include "zazaz32/names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ValidNameWin, PointsAtTheFirstFault) {
  struct Case {
    const char* s;
    int result;
  } const cases[] = {
      {"", 1},
      {"C:\\TEMP\\", 0},
      {"C:\\TEMP\\.", 9},
      {"1:\\TEMP", 1},
      {"C:\\A*\\B", 5},
      {"C:\\DIR\\*.TMP", 0},
      {"C:\\NUL\\X", 4},
      {"C:\\DIR\\com3.log", 8},
      {"VESK____.TMP", 0},
      {"C:\\TEMP\\\\X", 5},
      {"C:\\A|B", 5},
      {"A|B", 2},
      {"\\\\SERVER\\SHARE\\TMP", 0},
      {"\\\\SERVER:X", 9},
      // ":" is tried before ">", so it is the one reported.
      {"a>b:c", 4},
      {"C:\\A\tB", 5},
      {"C:\\A\"B", 5},
      {"C:/TEMP", 3},
      {"\\TEMP\\X", 0},
      {"TEMP", 0},
      {"C:", 0},
      {"C:\\", 0},
      {"A?\\B", 2},
      {"\\\\AUX\\SHARE", 3},
      {"C:\\X\\PRN", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("path \"") + c.s + "\"");
    EXPECT_EQ(VALIDNAMEWIN(c.s), c.result);
    EXPECT_EQ(VALIDNAME(c.s), c.result);
  }
}

TEST(ValidNameWin, ControlCharactersAreReserved) {
  EXPECT_EQ(VALIDNAMEWIN(Str255(std::string_view("AB\0C", 4))), 3);
  EXPECT_EQ(VALIDNAMEWIN("X\x1f"), 2);
  EXPECT_EQ(VALIDNAMEWIN("X\x7f"), 0);
}

TEST(NameReserved, DeviceNamesWhateverTheDirectoryOrExtension) {
  struct Case {
    const char* path;
    bool reserved;
  } const cases[] = {
      {"lpt9", true},    {"Aux.dat", true},  {"C:\\X\\CON.TXT", true}, {"nul", true},
      {"PRN", true},     {"COM1", true},     {"com4.x", true},         {"LPT1", true},
      {"COM5", false},   {"COM0", false},    {"LPT0", false},          {"COM", false},
      {"LPT", false},    {"CONSOLE", false}, {"NUL ", false},          {"", false},
      {"CON\\X", false}, {"AUXX", false},    {"COM10", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("path \"") + c.path + "\"");
    EXPECT_EQ(NAMERESERVED(c.path), c.reserved);
  }
}

}  // namespace

#include "zazaz32/path.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace

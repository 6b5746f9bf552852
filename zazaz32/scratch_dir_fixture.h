#ifndef VESK_ZAZAZ32_SCRATCH_DIR_FIXTURE_H_
#define VESK_ZAZAZ32_SCRATCH_DIR_FIXTURE_H_

// Test fixture for code that touches the file system, the current directory
// or the environment. Each test runs inside a fresh directory of its own,
// made under the system's temporary directory and removed afterwards; the
// working directory and every environment variable changed through set_env
// or unset_env are put back when the test ends.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "platform/platform.h"
#include "zazaz32/str255.h"

class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_cwd_ = std::filesystem::current_path();
    std::mt19937_64 random(std::random_device{}());
    do {
      root_ = std::filesystem::temp_directory_path() / ("vesk_test_" + std::to_string(random()));
    } while (!std::filesystem::create_directory(root_));
    std::filesystem::current_path(root_);
    // The program's own name for the directory, e.g. Z:\tmp\vesk_test_42.
    dos_root_ = current_directory(0);
    ASSERT_EQ(dos_root_.at(2), ':') << dos_root_.str();
  }

  void TearDown() override {
    std::filesystem::current_path(saved_cwd_);
    for (const auto& [name, value] : saved_env_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // The scratch directory as the program names it, and a path below it
  // (relative written with "\").
  const Str255& dos_root() const { return dos_root_; }
  Str255 dos(const std::string& relative) const { return dos_root_ + Str255("\\" + relative); }
  // The same path as the system's own file functions take it.
  std::filesystem::path native(std::string relative) const {
    for (char& c : relative) {
      if (c == '\\') c = '/';
    }
    return root_ / relative;
  }

  void make_dir(const std::string& relative) const {
    std::filesystem::create_directories(native(relative));
  }
  void make_file(const std::string& relative, std::uintmax_t size) const {
    std::ofstream(native(relative), std::ios::binary).put('x');
    std::filesystem::resize_file(native(relative), size);
  }
  bool exists(const std::string& relative) const {
    return std::filesystem::exists(native(relative));
  }

  void set_env(const std::string& name, const std::string& value) {
    remember_env(name);
    setenv(name.c_str(), value.c_str(), 1);
  }
  void unset_env(const std::string& name) {
    remember_env(name);
    unsetenv(name.c_str());
  }

 private:
  void remember_env(const std::string& name) {
    if (saved_env_.count(name) != 0) return;
    const char* value = getenv(name.c_str());
    saved_env_[name] = value ? std::optional<std::string>(value) : std::nullopt;
  }

  std::filesystem::path saved_cwd_;
  std::filesystem::path root_;
  Str255 dos_root_;
  std::map<std::string, std::optional<std::string>> saved_env_;
};

#endif  // VESK_ZAZAZ32_SCRATCH_DIR_FIXTURE_H_

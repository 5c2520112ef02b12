#include "support/test_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/shell.h"

namespace salvor::testing {

std::filesystem::path SamplesDir() { return SALVOR_SAMPLES_DIR; }
std::filesystem::path SourceDir() { return SALVOR_SOURCE_DIR; }
std::filesystem::path BinDir() { return SALVOR_BIN_DIR; }

ScratchDir::ScratchDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "scratch";
  for (char& c : name)
    if (c == '/') c = '_';
  path_ = std::filesystem::temp_directory_path() /
          ("salvor-test-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string Sha256OfFile(const std::filesystem::path& file) {
  return RunShell("sha256sum '" + file.string() + "'").output.substr(0, 64);
}

}  // namespace salvor::testing

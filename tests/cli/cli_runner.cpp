#include "cli_runner.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/test_paths.h"

namespace salvor::testing {

namespace {

std::string ProcessTemp() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("salvor-cli-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                      ("salvor-cli-test-" + std::to_string(getpid())),
                                  ec);
    });
    return path;
  }();
  return folder.string();
}

}  // namespace

std::string SalvorCliCommand() {
  return "TEMP=" + Quote(ProcessTemp()) + " " + Quote((BinDir() / "salvor-cli").string());
}

CliRun SalvorCli(const std::string& args, bool with_stderr) {
  return RunShell(SalvorCliCommand() + " " + args + (with_stderr ? " 2>&1" : " 2>/dev/null"));
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

}  // namespace salvor::testing

#include "cli_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
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
  std::string cmd = SalvorCliCommand() + " " + args +
                    (with_stderr ? " 2>&1" : " 2>/dev/null");
  CliRun run;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return run;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.output.append(buf, n);
  int raw = pclose(p);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

}  // namespace salvor::testing

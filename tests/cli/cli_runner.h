#pragma once
// Runs the built salvor-cli as a user would and collects what it prints.

#include <string>

namespace salvor::testing {

struct CliRun {
  int status = -1;
  std::string output;  // stdout, and stderr unless kept apart
};

// `args` are passed to the shell as they are (quote paths with Quote).
CliRun SalvorCli(const std::string& args, bool with_stderr = true);
std::string Quote(const std::string& path);

}  // namespace salvor::testing

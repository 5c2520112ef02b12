#pragma once
// Runs the built salvor-cli as a user would and collects what it prints.

#include <string>

#include "support/shell.h"

namespace salvor::testing {

using CliRun = ShellRun;  // output holds stderr too unless kept apart

// The shell command that starts the built salvor-cli with its scan database
// in a folder of this test process's own (TEMP), so that tests may run side
// by side without waiting for each other's database.
std::string SalvorCliCommand();

// `args` are passed to the shell as they are (quote paths with Quote).
CliRun SalvorCli(const std::string& args, bool with_stderr = true);
std::string Quote(const std::string& path);

}  // namespace salvor::testing

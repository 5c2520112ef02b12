#pragma once
// Runs shell command lines for tests that drive programs as a user would or
// check results with independent tools.

#include <string>

namespace salvor::testing {

struct ShellRun {
  int status = -1;     // exit status; -1 when the command could not run or was killed
  std::string output;  // what it printed on stdout
};

// Standard error goes wherever the command line sends it.
ShellRun RunShell(const std::string& command);
// Standard error is collected together with standard output.
ShellRun RunCommand(const std::string& command);
bool HaveCommand(const std::string& name);

}  // namespace salvor::testing

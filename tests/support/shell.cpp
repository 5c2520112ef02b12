#include "support/shell.h"

#include <sys/wait.h>

#include <cstdio>

namespace salvor::testing {

ShellRun RunShell(const std::string& command) {
  ShellRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

ShellRun RunCommand(const std::string& command) {
  return RunShell(command + " 2>&1");
}

bool HaveCommand(const std::string& name) {
  return RunShell("command -v " + name + " >/dev/null 2>&1").status == 0;
}

}  // namespace salvor::testing

#include "cli_runner.h"

#include <sys/wait.h>

#include <cstdio>

#include "support/test_paths.h"

namespace salvor::testing {

CliRun SalvorCli(const std::string& args, bool with_stderr) {
  std::string cmd = Quote((BinDir() / "salvor-cli").string()) + " " + args +
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

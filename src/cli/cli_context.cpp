#include "cli/cli_context.h"

#include <cstdio>

#include "app/open_source.h"

namespace salvor::cli {

void PrintFailure(const OperationStatus& status) {
  if (status.failed() && !status.error.empty())
    std::fprintf(stderr, "salvor-cli: %s\n", status.error.c_str());
}

bool OpenSourceArgument(CliContext& ctx, const std::string& path) {
  const OperationStatus opened = OpenSource(ctx.state, path, ctx.options.sector_size);
  PrintFailure(opened);
  return opened.completed();
}

}  // namespace salvor::cli

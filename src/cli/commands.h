#pragma once
// Each subcommand lives in its own cmd_<name>.cpp and registers itself here.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace salvor::cli {

void AddDisksCommand(CLI::App& app, CliContext& ctx);
void AddCloneCommand(CLI::App& app, CliContext& ctx);
void AddImageCommand(CLI::App& app, CliContext& ctx);
void AddInfoCommand(CLI::App& app, CliContext& ctx);
void AddLsCommand(CLI::App& app, CliContext& ctx);
void AddRecoverCommand(CLI::App& app, CliContext& ctx);
void AddCatCommand(CLI::App& app, CliContext& ctx);
void AddPartitionsCommand(CLI::App& app, CliContext& ctx);
void AddCarveCommand(CLI::App& app, CliContext& ctx);

}  // namespace salvor::cli

// salvor-cli: the recovery engines from the command line.

#include <csignal>
#include <cstdio>
#include <string>

#include "app/process_log.h"
#include "cli/commands.h"

namespace {

salvor::RunControl* g_run = nullptr;

// Ctrl+C asks the running walk to stop, as the Stop command does; the walk
// ends at its next check and what it found so far is still reported.
extern "C" void OnInterrupt(int) {
  if (g_run) g_run->Stop();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace salvor::cli;
  CliContext ctx;
  g_run = &ctx.run;
  std::signal(SIGINT, OnInterrupt);

  CLI::App app{"salvor-cli: recover files, folders and partitions from NTFS disks"};
  app.set_version_flag("--version", std::string("salvor-cli ") + SALVOR_VERSION);
  app.require_subcommand(1);
  app.fallthrough();  // global options may also follow the subcommand
  app.add_option("--sector-size", ctx.options.sector_size, "Force the source's sector size")
      ->type_name("N")
      ->check(CLI::IsMember({512, 1024, 2048, 4096}));
  app.add_option("--log", ctx.options.log_file, "Write the process log to FILE")->type_name("FILE");
  app.add_flag("--json", ctx.options.json, "Print JSON Lines");

  AddDisksCommand(app, ctx);
  AddInfoCommand(app, ctx);
  AddPartitionsCommand(app, ctx);
  AddLsCommand(app, ctx);
  AddRecoverCommand(app, ctx);
  AddCatCommand(app, ctx);
  AddImageCommand(app, ctx);
  AddCloneCommand(app, ctx);
  AddCarveCommand(app, ctx);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  ctx.host.FinishProgress();
  // The log is written whatever the outcome: a failed run is when it is needed most.
  if (!ctx.options.log_file.empty() &&
      !salvor::SaveLogFile(ctx.options.log_file, ctx.host.log(), ctx.host) &&
      ctx.exit_status == kExitOk)
    ctx.exit_status = kExitFailure;
  return ctx.exit_status;
}

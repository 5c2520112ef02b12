// salvor-cli recover: saves entries of a volume's rebuilt tree (all of it by
// default, as "Save All" does) below a destination folder.

#include <cstdio>

#include "app/entry_saving.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/volume_tree.h"
#include "disk/texts.h"

namespace salvor::cli {
namespace {

struct RecoverOptions {
  std::string source;
  std::string out;
  VolumeOptions volume;
  std::vector<std::uint32_t> entries;
  std::vector<std::string> excluded;
  std::string on_conflict = "skip";
};

void PrintSummary(const CliContext& ctx, const SaveSummary& s) {
  if (ctx.options.json) {
    JsonLine line;
    line.Field("files", s.files)
        .Field("folders", s.folders)
        .Field("bytes", s.bytes)
        .Field("skipped", s.skipped)
        .Field("failed", s.failed)
        .Field("excluded", s.excluded)
        .Field("stopped", s.stopped)
        .Field("abandoned", s.abandoned);
    std::printf("%s\n", line.str().c_str());
    return;
  }
  std::printf("%s\n", SaveSummaryText(s).c_str());
}

void RunRecover(CliContext& ctx, const RecoverOptions& o) {
  VolumeTree tree;
  if (!OpenVolumeTree(ctx, o.source, o.volume, tree)) return;
  for (std::uint32_t e : o.entries) {
    if (e >= tree.db.entry_count()) {
      std::fprintf(stderr, "salvor-cli: %s\n",
                   Format(kNoSuchEntry, e, tree.db.entry_count()).c_str());
      ctx.exit_status = kExitUsage;
      return;
    }
  }
  SaveRequest request;
  request.entries = o.entries.empty() ? std::vector<std::uint32_t>{0} : o.entries;
  request.destination = o.out;
  request.excluded_types = o.excluded;
  ctx.host.set_conflict_policy(o.on_conflict == "rename" ? ConflictPolicy::kRename
                                                         : ConflictPolicy::kSkip);
  ctx.host.set_progress_label(std::string(text::kProgressSaving));
  const SaveSummary summary = SaveTreeEntries(ctx.state, tree.db, request);
  ctx.host.FinishProgress();
  PrintSummary(ctx, summary);
  if (summary.stopped || tree.stopped)
    ctx.exit_status = kExitStopped;
  else if (!summary.ok())
    ctx.exit_status = kExitFailure;
}

}  // namespace

void AddRecoverCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand(
      "recover", "Save files and folders of a volume's rebuilt tree below a destination folder");
  auto o = std::make_shared<RecoverOptions>();
  auto* source = cmd->add_option("SOURCE", o->source, "Block device or image file");
  cmd->add_option("--out", o->out, "Destination folder (created if missing)")->required();
  AddVolumeTreeOptions(cmd, o->volume, source);
  cmd->add_option("--entry", o->entries, "Entry number to save with everything below it "
                                         "(repeatable; default 0, the whole tree)");
  cmd->add_option("--exclude", o->excluded, "File types (extensions) to leave out")
      ->delimiter(',');
  cmd->add_option("--on-conflict", o->on_conflict,
                  "When a name is taken or too long: skip the item (default), or rename it")
      ->check(CLI::IsMember({"skip", "rename"}));
  cmd->callback([&ctx, o] { RunRecover(ctx, *o); });
}

}  // namespace salvor::cli

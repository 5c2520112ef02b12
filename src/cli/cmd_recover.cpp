// salvor-cli recover: saves entries of a volume's rebuilt tree (all of it by
// default, as "Save All" does) below a destination folder.

#include <cstdio>

#include "app/entry_saving.h"
#include "app/recovery_report.h"
#include "app/save_report.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/report_options.h"
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
  std::string report;
  std::string report_format = "jsonl";
  bool dry_run = false;
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
        .Field("renamed", s.renamed)
        .Field("linked", s.linked)
        .Field("stopped", s.stopped)
        .Field("abandoned", s.abandoned);
    std::printf("%s\n", line.str().c_str());
    return;
  }
  std::printf("%s\n", SaveSummaryText(s).c_str());
}

void PrintDryRun(const CliContext& ctx, const SaveSummary& s) {
  if (ctx.options.json) {
    JsonLine line;
    line.Field("dry_run", true).Field("files", s.files).Field("folders", s.folders);
    line.Field("bytes", s.bytes).Field("excluded", s.excluded);
    std::printf("%s\n", line.str().c_str());
    return;
  }
  std::printf(text::kDryRunSummary, static_cast<unsigned long long>(s.files),
              static_cast<unsigned long long>(s.folders), static_cast<unsigned long long>(s.bytes),
              static_cast<unsigned long long>(s.excluded));
  std::printf("\n");
}

void RunRecover(CliContext& ctx, const RecoverOptions& o) {
  // The report is opened first: one that cannot be written stops the run
  // before anything is saved. A dry run creates nothing, the report included.
  std::unique_ptr<RecoveryReport> report;
  if (!o.report.empty() && !o.dry_run) {
    std::string error;
    report = RecoveryReport::Open(o.report, *ParseReportFormat(o.report_format), o.source, error);
    if (!report) {
      std::fprintf(stderr, "salvor-cli: %s\n", error.c_str());
      ctx.exit_status = kExitFailure;
      return;
    }
  }
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
  request.dry_run = o.dry_run;
  if (report) {
    request.on_item = [&](const SavedItem& item) {
      report->Add(ReportOfSavedItem(item, o.out, o.dry_run));
    };
  }
  if (o.dry_run) {
    PrintDryRun(ctx, SaveTreeEntries(ctx.state, tree.db, request));
    if (tree.stopped) ctx.exit_status = kExitStopped;
    return;
  }
  ctx.host.set_conflict_policy(o.on_conflict == "rename" ? ConflictPolicy::kRename
                                                         : ConflictPolicy::kSkip);
  ctx.host.set_progress_label(std::string(text::kProgressSaving));
  const SaveSummary summary = SaveTreeEntries(ctx.state, tree.db, request);
  ctx.host.FinishProgress();
  PrintSummary(ctx, summary);
  std::string report_error;
  if (report && !report->Close(report_error)) {
    std::fprintf(stderr, "salvor-cli: %s\n", report_error.c_str());
    ctx.exit_status = kExitFailure;
  }
  if (summary.stopped || tree.stopped)
    ctx.exit_status = kExitStopped;
  else if (!summary.ok())
    ctx.exit_status = kExitFailure;
}

}  // namespace

void AddRecoverCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand(
      "recover", "Save files and folders of a volume's rebuilt tree below a destination folder");
  cmd->footer(
      "Examples:\n"
      "  salvor-cli recover disk.img --out saved\n"
      "  salvor-cli recover disk.img --volume 2 --entry 42 --out saved --on-conflict rename\n"
      "  salvor-cli recover disk.img --out saved --dry-run\n"
      "  salvor-cli recover disk.img --out saved --report saved.jsonl");
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
  AddReportOptions(cmd, o->report, o->report_format);
  cmd->add_flag("--dry-run", o->dry_run,
                "Count the files, folders and bytes that would be saved; create nothing");
  cmd->callback([&ctx, o] { RunRecover(ctx, *o); });
}

}  // namespace salvor::cli

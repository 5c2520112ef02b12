#include "cli/copy_command.h"

#include "disk/texts.h"

namespace salvor::cli {

void RunCopyCommand(CliContext& ctx, CopyKind kind, PreparedCopy& copy) {
  if (!copy.status.completed()) {
    PrintFailure(copy.status);
    ctx.exit_status = kExitFailure;
    return;
  }
  ctx.host.set_progress_label(
      std::string(kind == CopyKind::kImaging ? text::kImaging : text::kCloning));
  ctx.host.set_progress_unit_bytes(ctx.state.source.bytes_per_sector());
  if (CopyWholeSource(ctx.state, kind, copy, ctx.run) != CopyOutcome::kCompleted)
    ctx.exit_status = kExitFailure;
}

}  // namespace salvor::cli

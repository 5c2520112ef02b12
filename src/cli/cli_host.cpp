#include "cli/cli_host.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace salvor::cli {

CliHost::CliHost()
    : progress_on_tty_(isatty(STDERR_FILENO) != 0), started_(std::chrono::steady_clock::now()) {}

void CliHost::ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) {
  FinishProgress();
  if (icon == MessageIcon::kError) ++errors_shown_;
  std::fprintf(stderr, "salvor-cli: %.*s: %.*s\n", static_cast<int>(caption.size()),
               caption.data(), static_cast<int>(text.size()), text.data());
}

void CliHost::AddLogEntry(const LogEntry& entry) {
  if (verbose_log_ || entry.kind == LogKind::kFailure) {
    FinishProgress();
    std::fprintf(stderr, "%s%s%s\n", entry.text.c_str(), entry.detail.empty() ? "" : ": ",
                 entry.detail.c_str());
  }
  salvor::AddLogEntry(log_, entry, std::time(nullptr));
}

void CliHost::Progress(const ProgressReport& report) {
  if (!progress_on_tty_) return;
  const std::uint64_t done = report.done;
  const std::uint64_t total = report.total;
  auto now = std::chrono::steady_clock::now();
  if (progress_drawn_ && now - last_draw_ < std::chrono::milliseconds(200) && done < total) return;
  last_draw_ = now;
  double seconds = std::chrono::duration<double>(now - started_).count();
  double fraction = total ? static_cast<double>(done) / static_cast<double>(total) : 0.0;
  double left = fraction > 0.0 ? seconds * (1.0 - fraction) / fraction : 0.0;
  std::fprintf(stderr, "\r%s %5.1f%%  %llu/%llu  elapsed %.0fs  left %.0fs   ",
               progress_label_.c_str(), fraction * 100.0, static_cast<unsigned long long>(done),
               static_cast<unsigned long long>(total), seconds, left);
  if (unit_bytes_ && seconds > 0.0)
    std::fprintf(stderr, "%.1f MB/s   ",
                 static_cast<double>(done) * static_cast<double>(unit_bytes_) / 1048576.0 / seconds);
  std::fflush(stderr);
  progress_drawn_ = true;
}

void CliHost::FinishProgress() {
  if (progress_drawn_) std::fputc('\n', stderr);
  progress_drawn_ = false;
}

std::optional<std::string> CliHost::AskRename(std::string_view failed_name, std::string_view) {
  // The command line cannot ask; the policy chosen with --on-conflict answers.
  return conflicts_.Next(failed_name);
}

bool CliHost::AskYesNo(std::string_view, std::string_view) { return answer_yes_; }

}  // namespace salvor::cli

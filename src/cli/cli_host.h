#pragma once
// The command line's host: messages and log lines go to stderr, the process
// log is kept for --log, progress is drawn on stderr when it is a terminal,
// and questions are answered by the policy chosen on the command line.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/process_log.h"
#include "cli/conflict_names.h"
#include "disk/host.h"

namespace salvor::cli {

class CliHost : public Host {
 public:
  CliHost();

  void ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) override;
  void AddLogEntry(const LogEntry& entry) override;
  void Progress(const ProgressReport& report) override;
  std::optional<std::string> AskRename(std::string_view failed_name,
                                       std::string_view reason) override;
  bool AskYesNo(std::string_view caption, std::string_view question) override;

  // Ends a progress line so that the next output starts on a clean line.
  void FinishProgress();

  void set_progress_label(std::string label) { progress_label_ = std::move(label); }
  // Bytes per progress unit; when set, the line also shows the rate in MB/s.
  void set_progress_unit_bytes(std::uint64_t bytes) { unit_bytes_ = bytes; }
  void set_answer_yes(bool yes) { answer_yes_ = yes; }
  void set_conflict_policy(ConflictPolicy policy) { conflicts_ = ConflictNames(policy); }
  void set_verbose_log(bool v) { verbose_log_ = v; }
  const std::vector<LogEntry>& log() const { return log_.entries; }
  int errors_shown() const { return errors_shown_; }

 private:
  bool progress_on_tty_;
  bool progress_drawn_ = false;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point last_draw_;
  std::string progress_label_;
  std::uint64_t unit_bytes_ = 0;
  bool answer_yes_ = false;
  ConflictNames conflicts_{ConflictPolicy::kSkip};
  bool verbose_log_ = false;
  int errors_shown_ = 0;
  ProcessLog log_;
};

}  // namespace salvor::cli

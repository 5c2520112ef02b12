#pragma once
// A host for tests: records every message, log entry and progress report,
// and answers questions from scripted queues.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "disk/host.h"

namespace salvor::testing {

struct ShownMessage {
  MessageIcon icon;
  std::string caption;
  std::string text;
};

class RecordingHost : public Host {
 public:
  void ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) override;
  void AddLogEntry(const LogEntry& entry) override;
  void Progress(const ProgressReport& report) override;
  // Every report reaches the tests: no throttling.
  std::chrono::nanoseconds ProgressInterval() const override { return {}; }
  std::optional<std::string> AskRename(std::string_view failed_name,
                                       std::string_view reason) override;
  bool AskYesNo(std::string_view caption, std::string_view question) override;

  std::vector<ShownMessage> messages;
  std::vector<LogEntry> log;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;  // done, total
  std::vector<ProgressReport> reports;
  std::function<void(const ProgressReport&)> on_progress;  // called after recording
  std::vector<std::string> rename_questions;
  std::vector<std::string> yes_no_questions;
  // Scripted answers; when empty, renames skip and questions answer no.
  std::deque<std::optional<std::string>> rename_answers;
  std::deque<bool> yes_no_answers;
};

}  // namespace salvor::testing

#include "support/recording_host.h"

namespace salvor::testing {

void RecordingHost::ShowMessage(MessageIcon icon, std::string_view caption,
                                std::string_view text) {
  messages.push_back({icon, std::string(caption), std::string(text)});
}

void RecordingHost::AddLogEntry(const LogEntry& entry) { log.push_back(entry); }

void RecordingHost::Progress(const ProgressReport& report) {
  progress.emplace_back(report.done, report.total);
  reports.push_back(report);
  if (on_progress) on_progress(report);
}

std::optional<std::string> RecordingHost::AskRename(std::string_view failed_name,
                                                    std::string_view reason) {
  rename_questions.push_back(std::string(failed_name) + "|" + std::string(reason));
  if (rename_answers.empty()) return std::nullopt;
  auto answer = rename_answers.front();
  rename_answers.pop_front();
  return answer;
}

bool RecordingHost::AskYesNo(std::string_view, std::string_view question) {
  yes_no_questions.emplace_back(question);
  if (yes_no_answers.empty()) return false;
  bool answer = yes_no_answers.front();
  yes_no_answers.pop_front();
  return answer;
}

}  // namespace salvor::testing

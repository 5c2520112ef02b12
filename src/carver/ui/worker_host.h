#pragma once
// The host an engine uses from a worker thread: every message and question
// is shown by the owner window's thread while the worker waits for it (a
// blocking queued call), so what the engine passes by reference stays valid
// and the window's thread never waits on the worker.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "disk/host.h"

namespace salvor::carver::ui {

class WorkerHost final : public Host {
 public:
  explicit WorkerHost(QWidget* owner) : owner_(owner) {}

  // Run on the owner's thread, and only when the whole percentage changes,
  // so that a fast scan does not flood the window with reports.
  std::function<void(quint64 done, quint64 total)> on_progress;

  void ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) override;
  void AddLogEntry(const LogEntry&) override {}
  void Progress(const ProgressReport& report) override;
  std::optional<std::string> AskRename(std::string_view failed_name,
                                       std::string_view reason) override;
  bool AskYesNo(std::string_view caption, std::string_view question) override;

  // Runs `call` on the owner's thread and waits for it; runs it at once when
  // already there.
  void OnOwnerThread(const std::function<void()>& call);

 private:
  QPointer<QWidget> owner_;
  int last_percent_ = -1;
};

}  // namespace salvor::carver::ui

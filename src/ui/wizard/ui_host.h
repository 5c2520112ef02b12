#pragma once
// The host that the wizard's workers report through. Called on the UI thread
// it acts at once; called from a worker it hands the call to the UI thread and
// waits for it (so that what it passes by reference stays valid), except for
// progress, which is posted and coalesced so that a fast worker never waits.

#include <QObject>
#include <atomic>
#include <functional>

#include "disk/host.h"

class QWidget;

namespace salvor::ui {

class UiHost final : public QObject, public Host {
 public:
  // Log entries go on to `log` (the frame's host), on the UI thread.
  UiHost(QWidget* parent, Host& log);

  void ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) override;
  void AddLogEntry(const LogEntry& entry) override;
  void Progress(const ProgressReport& report) override;
  std::optional<std::string> AskRename(std::string_view failed_name,
                                       std::string_view reason) override;
  bool AskYesNo(std::string_view caption, std::string_view question) override;

  // Called on the UI thread with the latest progress.
  std::function<void(std::uint64_t done, std::uint64_t total)> on_progress;

 private:
  void OnUiThread(const std::function<void()>& call);

  QWidget* parent_;
  Host& log_;
  std::atomic<std::uint64_t> done_{0};
  std::atomic<std::uint64_t> total_{0};
  std::atomic<bool> progress_posted_{false};
};

// A modal message box with the product's texts.
void ShowMessageBox(QWidget* parent, MessageIcon icon, std::string_view caption,
                    std::string_view text);
bool AskYesNoBox(QWidget* parent, std::string_view caption, std::string_view question);

}  // namespace salvor::ui

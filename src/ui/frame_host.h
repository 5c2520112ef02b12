#pragma once
// The host through which engines and background processes reach the main
// frame. Calls from the worker thread are sent to the frame's thread and
// waited for, so that what they pass stays valid until the frame has used
// it; the frame's own thread calls straight through and never waits on a
// worker. Progress goes to a shared record that the frame reads on a timer.

#include <atomic>
#include <functional>
#include <cstdint>

#include "disk/host.h"
#include "disk/run_control.h"

class QWidget;

struct ProgressRecord {
  std::atomic<std::uint64_t> done{0};
  std::atomic<std::uint64_t> total{0};
};

class CMainFrame;

class CFrameHost final : public salvor::Host {
 public:
  CFrameHost(CMainFrame& frame, salvor::RunControl& run) : frame_(&frame), run_(&run) {}

  void ShowMessage(salvor::MessageIcon icon, std::string_view caption,
                   std::string_view text) override;
  void AddLogEntry(const salvor::LogEntry& entry) override;
  void Progress(const salvor::ProgressReport& report) override;
  std::optional<std::string> AskRename(std::string_view failed_name,
                                       std::string_view reason) override;
  bool AskYesNo(std::string_view caption, std::string_view question) override;

  ProgressRecord& progress() { return progress_; }

 private:
  CMainFrame* frame_;
  salvor::RunControl* run_;
  ProgressRecord progress_;
};

// Runs `call` on the frame's thread and returns when it has run.
void SendToFrame(CMainFrame& frame, const std::function<void()>& call);

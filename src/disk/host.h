#pragma once
// The one interface through which engines talk to their front end (the
// command line or a GUI). Engines never call a GUI directly.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace salvor {

enum class LogKind : std::uint8_t { kInformation = 0, kFailure = 1, kCompleted = 2 };

struct LogEntry {
  std::string text;
  std::string detail;
  std::string time;  // filled in by the log
  LogKind kind = LogKind::kInformation;
};

enum class MessageIcon { kError, kInformation, kWarning };

// Which operation a progress report belongs to.
enum class ProgressPhase : std::uint8_t {
  kProcessing,  // the MFT walk
  kPopulating,  // filling a view from the scan database
  kTurbo,       // the Turbo Scan
  kSearch,      // the quick or thorough search for lost volumes
  kCopy,        // imaging or cloning
  kSave,        // saving entries or carved files
  kCarve,       // the carving scan
};

// What `done` and `total` count.
enum class ProgressUnit : std::uint8_t { kRecords, kSectors, kBytes, kItems };

struct ProgressReport {
  ProgressPhase phase = ProgressPhase::kProcessing;
  std::uint64_t done = 0;
  std::uint64_t total = 0;
  ProgressUnit unit = ProgressUnit::kRecords;
};

// A GUI's event queue takes about this many reports a second; engines hold
// back the rest (see ProgressReporter).
inline constexpr std::chrono::milliseconds kProgressInterval{33};

class Host {
 public:
  virtual ~Host() = default;

  // A message box with a caption ("Error", "Information", ...).
  virtual void ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) = 0;
  virtual void AddLogEntry(const LogEntry& entry) = 0;
  // Where a running operation stands. Engines send these through a
  // ProgressReporter, which passes at most one per ProgressInterval().
  virtual void Progress(const ProgressReport& report) = 0;
  virtual std::chrono::nanoseconds ProgressInterval() const { return kProgressInterval; }
  // A name could not be used: `reason` says why. Returns the new name, or
  // nullopt when the user skips the item.
  virtual std::optional<std::string> AskRename(std::string_view failed_name,
                                               std::string_view reason) = 0;
  virtual bool AskYesNo(std::string_view caption, std::string_view question) = 0;

  void ShowError(std::string_view text) { ShowMessage(MessageIcon::kError, "Error", text); }
};

// A host that answers nothing and shows nothing: for engines run where no one
// is there to ask (background checks, fuzzing). Rename questions skip.
class SilentHost final : public Host {
 public:
  void ShowMessage(MessageIcon, std::string_view, std::string_view) override {}
  void AddLogEntry(const LogEntry&) override {}
  void Progress(const ProgressReport&) override {}
  std::optional<std::string> AskRename(std::string_view, std::string_view) override {
    return std::nullopt;
  }
  bool AskYesNo(std::string_view, std::string_view) override { return false; }
};

}  // namespace salvor

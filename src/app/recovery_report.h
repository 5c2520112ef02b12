#pragma once
// The recovery report: one record per item a recovery or a carve handled,
// what became of it and the digest of what was written, as JSON Lines or as
// DFXML file objects (the Digital Forensics XML schema that forensic tools
// read). The file is opened before the work starts, so that a report that
// cannot be written stops the run before anything is saved.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace salvor {

enum class ReportFormat { kJsonLines, kDfxml };
// "jsonl" or "dfxml"; nullopt for anything else.
std::optional<ReportFormat> ParseReportFormat(std::string_view name);

enum class ReportOutcome { kSaved, kRenamed, kSkipped, kFailed };
std::string_view OutcomeName(ReportOutcome outcome);

struct ReportItem {
  std::optional<std::uint32_t> entry;         // scan database entry (recover)
  std::optional<std::uint64_t> start_sector;  // first sector of a carved file
  std::optional<std::uint32_t> record;        // MFT record number
  std::optional<bool> deleted;
  std::string original_path;
  std::string written_path;  // empty when nothing was written
  std::uint64_t size = 0;
  std::string sha256;        // of the bytes written; empty when none were
  std::optional<std::uint64_t> source_offset;  // byte offset of a contiguous item in the source
  ReportOutcome outcome = ReportOutcome::kSaved;
  std::string reason;        // why skipped or failed
};

class RecoveryReport {
 public:
  // Creates (or replaces) the report at `path`; nullopt with `error` set to
  // the path and the system's reason when it cannot be created.
  static std::unique_ptr<RecoveryReport> Open(const std::string& path, ReportFormat format,
                                              std::string_view source, std::string& error);
  ~RecoveryReport();
  RecoveryReport(const RecoveryReport&) = delete;
  RecoveryReport& operator=(const RecoveryReport&) = delete;

  void Add(const ReportItem& item);
  // Finishes and closes the file; false with `error` set when a write failed.
  bool Close(std::string& error);

 private:
  RecoveryReport(std::FILE* file, std::string path, ReportFormat format);
  std::FILE* file_;
  std::string path_;
  ReportFormat format_;
};

// The SHA-256 of a written file, read back; empty when it cannot be read.
std::string FileSha256(const std::string& path);

}  // namespace salvor

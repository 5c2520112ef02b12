#include "partitions/disk_copy.h"

#include <algorithm>
#include <vector>

#include "disk/byte_writer.h"
#include "disk/progress_reporter.h"
#include "disk/texts.h"

namespace salvor {
namespace {

void Put(std::span<std::uint8_t> at, const ByteWriter& field) {
  std::copy(field.bytes().begin(), field.bytes().end(), at.begin());
}

class Copier {
 public:
  Copier(SectorSource& source, CopyDestination& destination, const CopyJob& job, Host& host,
         RunControl& run)
      : source_(source),
        destination_(destination),
        job_(job),
        run_(run),
        progress_(host, ProgressPhase::kCopy, ProgressUnit::kSectors),
        bytes_per_sector_(source.bytes_per_sector()),
        buffer_(std::size_t{job.sectors_per_step} * bytes_per_sector_) {}

  CopyResult Run() {
    const std::uint64_t count = job_.sector_count;
    const std::uint64_t step = job_.sectors_per_step;
    const std::uint64_t whole_end = count - count % step;
    // A source shorter than one step has no whole step: all of it is copied
    // sector by sector below, never more sectors than it has.
    for (std::uint64_t s = 0; s < whole_end; s += step) {
      if (s != 0) {
        progress_.Report(s, count);
        if (!run_.Checkpoint()) return End(CopyOutcome::kAborted);
      }
      if (!Copy(s, step)) return End(result_.outcome);
    }
    for (std::uint64_t s = whole_end; s < count; ++s) {
      if (!run_.Checkpoint()) return End(CopyOutcome::kAborted);
      if (!Copy(s, 1)) return End(result_.outcome);
    }
    return End(CopyOutcome::kCompleted);
  }

 private:
  // Copies `n` sectors from `first`; false when the copy must end (the
  // outcome is set).
  bool Copy(std::uint64_t first, std::uint64_t n) {
    std::span<std::uint8_t> chunk = std::span(buffer_).first(n * bytes_per_sector_);
    std::fill(chunk.begin(), chunk.end(), 0);  // unreadable sectors stay zeros
    std::uint32_t read = 0;
    try {
      read = source_.ReadSectors(chunk, first);
    } catch (const UserException&) {
      result_.outcome = CopyOutcome::kFailed;
      return false;
    }
    // A stop during a retry leaves the rest of the chunk unread: writing it
    // would put zeros in the copy that are not the source's. A stop during
    // the read ends the copy before the write all the same.
    if (read == kReadStopped || !run_.IsRunning()) {
      result_.outcome = CopyOutcome::kAborted;
      return false;
    }
    if (first == 0 && job_.kind == CopyKind::kImaging)
      StampImageSector0(chunk.first(bytes_per_sector_), source_.total_sectors(),
                        source_.bytes_per_sector());
    if (!Check(destination_.WriteAt(chunk, first * bytes_per_sector_))) return false;
    result_.sectors_written = first + n;
    return true;
  }

  bool Check(int code) {
    if (code == 0) return true;
    result_.failure = Failure{ErrorText(code), {}, code};
    result_.outcome = CopyOutcome::kFailed;
    return false;
  }

  CopyResult End(CopyOutcome outcome) {
    result_.outcome = outcome;
    // What was written must be on the medium, stopped or not; a write error
    // the kernel deferred ends the copy as failed.
    if (outcome != CopyOutcome::kFailed && !Check(destination_.Flush())) return result_;
    if (outcome == CopyOutcome::kCompleted) progress_.Final(job_.sector_count, job_.sector_count);
    return result_;
  }

  SectorSource& source_;
  CopyDestination& destination_;
  const CopyJob& job_;
  RunControl& run_;
  ProgressReporter progress_;
  std::size_t bytes_per_sector_;
  std::vector<std::uint8_t> buffer_;
  CopyResult result_;
};

std::string_view KindName(CopyKind kind) {
  return kind == CopyKind::kImaging ? text::kDiskImaging : text::kDiskCloning;
}

std::string_view EndMessage(CopyKind kind, bool completed) {
  if (kind == CopyKind::kImaging)
    return completed ? text::kDiskImagingCompleted : text::kDiskImagingAborted;
  return completed ? text::kDiskCloningCompleted : text::kDiskCloningAborted;
}

}  // namespace

void StampImageSector0(std::span<std::uint8_t> sector0, std::uint64_t total_sectors,
                       std::uint16_t bytes_per_sector) {
  if (sector0.size() < kStampBytesPerSector + 2) return;
  ByteWriter total;
  total.U64(total_sectors);
  Put(sector0.subspan(kStampTotalSectors), total);
  ByteWriter size;
  size.U16(bytes_per_sector);
  Put(sector0.subspan(kStampBytesPerSector), size);
}

CopyResult CopySectors(SectorSource& source, CopyDestination& destination, const CopyJob& job,
                       Host& host, RunControl& run) {
  CopyJob checked = job;
  if (checked.sectors_per_step == 0) checked.sectors_per_step = kCopySectorsPerStep;
  return Copier(source, destination, checked, host, run).Run();
}

void ReportCopyEnd(CopyKind kind, CopyOutcome outcome, const LogEntry& heading, Host& host) {
  const bool completed = outcome == CopyOutcome::kCompleted;
  host.ShowMessage(completed ? MessageIcon::kInformation : MessageIcon::kError,
                   text::kCaptionInformation, EndMessage(kind, completed));
  LogEntry end = heading;
  end.text = Format(completed ? text::kCompletedProcess : text::kAbortedProcess,
                    heading.text.c_str());
  end.time.clear();
  end.kind = completed ? LogKind::kCompleted : LogKind::kFailure;
  host.AddLogEntry(end);
}

CopyResult RunCopy(SectorSource& source, CopyDestination& destination, const CopyJob& job,
                   const LogEntry& heading, Host& host, RunControl& run) {
  CopyResult result = CopySectors(source, destination, job, host, run);
  if (result.failure) host.ShowMessage(MessageIcon::kError, text::kCaptionError, result.failure->what);
  ReportCopyEnd(job.kind, result.outcome, heading, host);
  return result;
}

void AskToStopCopy(CopyKind kind, Host& host, RunControl& run) {
  run.Pause();
  host.AddLogEntry({std::string(KindName(kind)), std::string(text::kProcessPaused), "",
                    LogKind::kInformation});
  if (host.AskYesNo(text::kCaptionProduct, text::kStopProcessQuestion)) {
    run.Stop();  // also opens the pause gate: the worker ends at its next check
    return;
  }
  host.AddLogEntry({std::string(KindName(kind)), std::string(text::kProcessResumed), "",
                    LogKind::kInformation});
  run.Resume();
}

}  // namespace salvor

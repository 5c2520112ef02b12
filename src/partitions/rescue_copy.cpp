#include "partitions/rescue_copy.h"

#include <algorithm>
#include <vector>

#include "disk/progress_reporter.h"
#include "disk/texts.h"

namespace salvor {
namespace {

// Maps are written at least this often while reads succeed.
constexpr int kStepsBetweenSaves = 256;

class RescueCopier {
 public:
  RescueCopier(SectorSource& source, CopyDestination& destination, RescueMap& map,
               const RescueJob& job, const SaveRescueMap& save_map, Host& host, RunControl& run)
      : source_(source),
        destination_(destination),
        map_(map),
        job_(job),
        save_map_(save_map),
        host_(host),
        run_(run),
        progress_(host, ProgressPhase::kCopy, ProgressUnit::kSectors),
        sector_bytes_(source.bytes_per_sector()),
        step_bytes_(std::uint64_t{job.sectors_per_step} * sector_bytes_),
        buffer_(step_bytes_) {}

  CopyResult Run() {
    const std::uint64_t total_bytes = job_.sector_count * sector_bytes_;
    if (map_.size() != total_bytes) map_ = RescueMap::Untried(total_bytes);
    // First pass skips ahead on failures; the second reads what was skipped.
    for (const bool skipping : {true, false}) {
      map_.current_status = '?';
      if (!Sweep(MapStatus::kNonTried, skipping)) return End();
    }
    map_.current_status = '/';
    if (!Sweep(MapStatus::kNonTrimmed, false)) return End();
    map_.current_status = '+';
    map_.current_pos = total_bytes;
    outcome_ = CopyOutcome::kCompleted;
    return End();
  }

 private:
  // Reads every area of `status` in order: the untried ones step by step,
  // the failed ones sector by sector. False when the copy must end.
  bool Sweep(MapStatus status, bool skipping) {
    std::uint64_t at = 0;
    std::uint64_t skip_steps = 0;
    while (const auto block = map_.FirstFrom(at, status)) {
      const bool by_sector = status == MapStatus::kNonTrimmed;
      const std::uint64_t unit = by_sector ? sector_bytes_ : step_bytes_;
      // Steps keep their places on the disk, so a resumed copy reads the
      // same steps as the first run did.
      const std::uint64_t pos = block->pos;
      const std::uint64_t end = std::min(block->end(), (pos / unit + 1) * unit);
      if (!Checkpoint(pos)) return false;
      const int code = Read(pos, end - pos);
      if (code < 0) return false;
      if (code == 0) {
        map_.Mark(pos, end - pos, MapStatus::kFinished);
        skip_steps = 0;
        at = end;
        continue;
      }
      map_.Mark(pos, end - pos, by_sector ? MapStatus::kBadSector : MapStatus::kNonTrimmed);
      if (by_sector && !Write(pos, end - pos, /*zeros=*/true)) return false;
      if (!Keep()) return false;
      at = end;
      if (skipping) {
        skip_steps = skip_steps == 0 ? job_.first_skip_steps
                                     : std::min(skip_steps * 2, job_.largest_skip_steps);
        at += skip_steps * step_bytes_;
      }
    }
    return true;
  }

  // 0 read and written; > 0 unreadable; < 0 the copy must end.
  int Read(std::uint64_t pos, std::uint64_t length) {
    const auto chunk = std::span(buffer_).first(length);
    const int code = source_.ReadSectorsOnce(chunk, pos / sector_bytes_);
    if (code != 0) {
      if (MediaErrorClass(code) != 0) return 1;
      // Not a bad sector: the source itself is gone.
      host_.ShowMessage(MessageIcon::kError, text::kCaptionError, ErrorText(code));
      return -1;
    }
    return Write(pos, length, /*zeros=*/false) ? 0 : -1;
  }

  bool Write(std::uint64_t pos, std::uint64_t length, bool zeros) {
    const auto chunk = std::span(buffer_).first(length);
    if (zeros) std::fill(chunk.begin(), chunk.end(), 0);
    if (pos == 0) StampImageSector0(chunk, source_.total_sectors(), source_.bytes_per_sector());
    if (const int code = destination_.WriteAt(chunk, pos); code != 0) {
      host_.ShowMessage(MessageIcon::kError, text::kCaptionError, ErrorText(code));
      return false;
    }
    if (++steps_since_save_ >= kStepsBetweenSaves) return Keep();
    return true;
  }

  bool Checkpoint(std::uint64_t pos) {
    map_.current_pos = pos;
    progress_.Report(map_.BytesWith(MapStatus::kFinished) / sector_bytes_, job_.sector_count);
    if (run_.Checkpoint()) return true;
    outcome_ = CopyOutcome::kAborted;
    return false;
  }

  bool Keep() {
    steps_since_save_ = 0;
    if (!save_map_ || save_map_(map_)) return true;
    save_failed_ = true;
    return false;
  }

  CopyResult End() {
    CopyResult result;
    result.outcome = outcome_;
    // The destination first: a map must never claim areas the medium lost.
    if (const int code = destination_.Flush(); code != 0) {
      host_.ShowMessage(MessageIcon::kError, text::kCaptionError, ErrorText(code));
      result.outcome = CopyOutcome::kFailed;
    } else if (!save_failed_ && !Keep()) {
      result.outcome = CopyOutcome::kFailed;
    }
    if (save_failed_) result.outcome = CopyOutcome::kFailed;
    const auto first_gap = map_.FirstFrom(0, MapStatus::kNonTried);
    result.sectors_written = (first_gap ? first_gap->pos : map_.size()) / sector_bytes_;
    if (result.outcome == CopyOutcome::kCompleted)
      progress_.Final(job_.sector_count, job_.sector_count);
    return result;
  }

  SectorSource& source_;
  CopyDestination& destination_;
  RescueMap& map_;
  const RescueJob& job_;
  const SaveRescueMap& save_map_;
  Host& host_;
  RunControl& run_;
  ProgressReporter progress_;
  std::uint64_t sector_bytes_;
  std::uint64_t step_bytes_;
  std::vector<std::uint8_t> buffer_;
  CopyOutcome outcome_ = CopyOutcome::kFailed;
  int steps_since_save_ = 0;
  bool save_failed_ = false;
};

}  // namespace

CopyResult RescueCopy(SectorSource& source, CopyDestination& destination, RescueMap& map,
                      const RescueJob& job, const SaveRescueMap& save_map, Host& host,
                      RunControl& run) {
  RescueJob checked = job;
  if (checked.sectors_per_step == 0) checked.sectors_per_step = kCopySectorsPerStep;
  if (checked.first_skip_steps == 0) checked.first_skip_steps = 1;
  checked.largest_skip_steps = std::max(checked.largest_skip_steps, checked.first_skip_steps);
  return RescueCopier(source, destination, map, checked, save_map, host, run).Run();
}

}  // namespace salvor

#include <vector>

#include "disk/progress_reporter.h"
#include "ntfs/boot_sector.h"
#include "ntfs/mft_first_record.h"
#include "partitions/candidate_pairing.h"
#include "partitions/mft_candidate.h"
#include "partitions/partition_search.h"
#include "partitions/search_boot_sector.h"
#include "partitions/source_bytes.h"

namespace salvor {
namespace {

inline constexpr std::uint64_t kBlockSectors = 128;

struct Candidates {
  std::vector<MftCandidate> record0;
  std::vector<MftCandidate> record1;
};

// A sector that starts like a FILE record: read the whole record and keep it
// when it is the $MFT's or the $MFTMirr's first record. Each test repairs the
// update sequence of its own copy.
void ExamineFileRecord(SectorSource& source, std::span<const std::uint8_t> sector,
                       std::uint64_t position, Candidates& out) {
  auto bytes = CandidateRecordBytes(sector, source.bytes_per_sector());
  if (!bytes) return;
  const std::vector<std::uint8_t> raw = ReadBytesAt(source, position, *bytes);
  std::vector<std::uint8_t> record = raw;
  if (IsMftRecord(record)) {
    if (auto c = CandidateFromRecord(record, position, MftRecordKind::kMft, source.bytes_per_sector()))
      out.record0.push_back(*c);
  }
  record = raw;
  if (IsMftMirrRecord(record)) {
    if (auto c = CandidateFromRecord(record, position, MftRecordKind::kMftMirr,
                                     source.bytes_per_sector()))
      out.record1.push_back(*c);
  }
}

}  // namespace

bool ThoroughScanPartitions(EngineState& state, std::uint64_t start, std::uint64_t end,
                            const PartitionFound& found) {
  state.partitions.clear();
  SectorSource& source = state.source;
  const std::size_t bps = source.bytes_per_sector() ? source.bytes_per_sector() : 512;
  std::vector<std::uint8_t> buffer(kBlockSectors * bps);
  Candidates candidates;
  std::uint64_t examined = 0;
  bool failed = false;
  ProgressReporter progress(state.host(), ProgressPhase::kSearch, ProgressUnit::kSectors);
  try {
    for (std::uint64_t block = start; block < end && state.run().Checkpoint();) {
      progress.Report(examined, end);
      std::uint64_t count = std::min(kBlockSectors, end - block);
      std::fill(buffer.begin(), buffer.end(), 0);
      if (end - block > kBlockSectors) {
        if (source.ReadSectors(buffer, block) == kReadStopped) break;
      } else {
        // The last stretch one sector at a time, so that a range ending at
        // the disk's end never asks for sectors past it.
        for (std::uint64_t i = 0; i < count; ++i)
          source.ReadSectors(std::span(buffer).subspan(i * bps, bps), block + i);
      }
      for (std::uint64_t i = 0; i < count; ++i) {
        std::span<const std::uint8_t> sector = std::span(buffer).subspan(i * bps, bps);
        if (IsNtfsBootSector(sector)) {
          if (auto v = VolumeFromFoundBootSector(source, sector, block + i))
            ListBootSectorVolume(state.partitions, *v, kBootSectorFoundTwice, found);
        } else {
          ExamineFileRecord(source, sector, block + i, candidates);
        }
        ++examined;
      }
      block += count;
    }
  } catch (const UserException&) {
    failed = true;
  }
  try {
    PairMftCandidates(source, candidates.record0, candidates.record1, state.partitions, found);
  } catch (const UserException&) {
    failed = true;
  }
  return !failed && state.run().IsRunning();
}

}  // namespace salvor

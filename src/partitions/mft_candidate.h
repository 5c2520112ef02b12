#pragma once
// Copies of the MFT's first records met by the thorough search: record 0
// (the $MFT's own record) and record 1 (the $MFTMirr's), from which volumes
// whose boot sectors are lost are rebuilt.

#include <cstdint>
#include <optional>
#include <span>

namespace salvor {

enum class MftRecordKind { kMft, kMftMirr };

struct MftCandidate {
  std::uint64_t sector = 0;         // where the record starts
  std::uint64_t creation_time = 0;  // of its $STANDARD_INFORMATION
  std::uint64_t cluster = 0;        // record 0: the $MFT's first cluster; record 1: the mirror's
  std::uint32_t record_bytes = 0;   // the header's allocated size
  std::uint32_t cluster_bytes = 0;
  std::uint8_t sectors_per_record = 0;   // in sectors of the source
  std::uint32_t sectors_per_cluster = 0;
  bool paired = false;
};

// The allocated size of a sector that starts like a FILE record ("FILE" and
// an update sequence offset of 0x2A or 0x30) when it is worth reading: below
// 8192 bytes, a whole number of sectors, and that number 1 or even.
std::optional<std::uint32_t> CandidateRecordBytes(std::span<const std::uint8_t> sector,
                                                  std::uint16_t bytes_per_sector);

// The candidate a record that passed IsMftRecord (kMft) or IsMftMirrRecord
// (kMftMirr) makes, or nullopt when its geometry cannot be derived: no
// $STANDARD_INFORMATION with four equal times, no non-resident attribute
// carrying the size ($BITMAP for record 0, $DATA for record 1) with its
// initialised size equal to its data size, a cluster size that is not a
// nonzero multiple of the sector size, or no cluster at all.
std::optional<MftCandidate> CandidateFromRecord(std::span<const std::uint8_t> record,
                                                std::uint64_t sector, MftRecordKind kind,
                                                std::uint16_t bytes_per_sector);

}  // namespace salvor

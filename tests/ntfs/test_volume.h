#pragma once
// A small NTFS-shaped volume in memory for the save and preview tests:
// 512-byte sectors, 4096-byte clusters, 1024-byte records, the $MFT in
// clusters 1-16 (records 0-63), data clusters from 100 on. Records and
// clusters are placed byte for byte, then the image is attached as the
// source of `state`.

#include <cstdint>
#include <utility>
#include <vector>

#include "disk/run_control.h"
#include "ntfs/engine_state.h"
#include "support/recording_host.h"

namespace salvor::testing {

inline constexpr std::uint64_t kClusterSize = 4096;

class TestVolume {
 public:
  TestVolume();

  // Places MFT record `number` (as built, update sequence applied) and
  // returns its sector.
  std::uint64_t PutRecord(std::uint32_t number, const std::vector<std::uint8_t>& record);
  // Places bytes from the start of cluster `lcn` on.
  void PutClusters(std::uint64_t lcn, const std::vector<std::uint8_t>& bytes);
  // Attaches the image as the source; call after placing everything.
  EngineState& Open();

  RecordingHost host;
  RunControl run;
  EngineState state{host, run};

 private:
  std::vector<std::uint8_t> image_;
};

// The packed run list of (length, lcn) pairs; lcn 0 is a sparse run.
std::vector<std::uint8_t> RunListBytes(const std::vector<std::pair<std::uint64_t, std::uint64_t>>& runs);

// `n` bytes that do not compress and differ by `seed`.
std::vector<std::uint8_t> NoiseBytes(std::size_t n, std::uint32_t seed);

// Sets a built record's attribute flags and compression unit field at the
// attribute that starts at `attribute_offset`, keeping its update sequence.
void SetCompression(std::vector<std::uint8_t>& record, std::size_t attribute_offset,
                    std::uint16_t flags, std::uint16_t unit_field);

}  // namespace salvor::testing

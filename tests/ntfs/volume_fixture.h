#pragma once
// A small NTFS volume in memory for the tree builder's tests: 512-byte
// sectors, 4096-byte clusters, 1024-byte records, the volume starting at a
// chosen sector of the image, its $MFT in the runs the test gives. Records
// are built with RecordBuilder and put where the run list says they lie.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "disk/run_control.h"
#include "ntfs/engine_state.h"
#include "ntfs/scan_database.h"
#include "ntfs/scan_database_reader.h"
#include "record_builder.h"
#include "support/memory_device.h"
#include "support/recording_host.h"

namespace salvor::testing {

inline constexpr std::uint64_t kClusterBytes = 4096;
inline constexpr std::uint64_t kRecordBytes = 1024;

class VolumeFixture {
 public:
  VolumeFixture(std::uint64_t first_sector, std::uint64_t clusters, RunList mft_runs);

  // Puts record bytes at the place of MFT record `position`.
  void PutRecord(std::uint32_t position, const Bytes& record);
  void PutCluster(std::uint64_t lcn, const Bytes& bytes);
  void PutAtSector(std::uint64_t sector, const Bytes& bytes);
  std::uint64_t RecordSector(std::uint32_t position) const;
  std::uint64_t ClusterSectorOf(std::uint64_t lcn) const { return first_sector_ + lcn * 8; }
  // Opens the image as the source (after the records are in place).
  void Attach();
  MemoryDevice* device() const { return device_; }

  RecordingHost host;
  RunControl run;
  EngineState state{host, run};
  Bytes image;

 private:
  std::uint64_t first_sector_;
  MemoryDevice* device_ = nullptr;
};

// Records as mkntfs and Windows write them (new header, record number set).
Bytes FileRecord(std::uint32_t number, std::uint32_t parent, const std::u16string& name,
                 std::uint32_t size = 10, bool in_use = true, std::uint16_t usa_offset = 0x30);
Bytes FolderRecord(std::uint32_t number, std::uint32_t parent, const std::u16string& name,
                   bool in_use = true, std::uint16_t usa_offset = 0x30);
// The $MFT's own record: equal times, the name "$MFT", and its $DATA as the
// run list given (covering VCNs 0..highest_vcn).
Bytes MftRecord(const Bytes& data_runs, std::uint64_t highest_vcn);

// The whole tree of a database, breadth first from entry 0: path (names from
// the child of entry 0 down, joined by "/", UTF-8) -> entry.
std::map<std::string, EntryNode> ReadTree(ScanDatabaseReader& db);

}  // namespace salvor::testing

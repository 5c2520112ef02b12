#pragma once
// The byte layout of the two scan information files. A disk scan file
// (.vkd) is a signature, the source's DiskInfo and its volume list; a
// partition scan file (.vkt) adds the chosen volume, its $MFT run list and
// the three scan database files (children, entries, names), each behind a
// separator and its length. Lists follow the more-follows rule: every record
// but the last has a nonzero "next" field; ours are written as 1 and 0 so the
// files are the same on every build.
//
// The loaders never trust a length or a chain: anything that runs past the
// end of the bytes given, or a value no writer could have stored, rejects
// the whole file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "disk/disk_info.h"
#include "ntfs/run.h"
#include "ntfs/volume_info.h"

namespace salvor {

inline constexpr std::uint32_t kTreeInfoSignature = 0x01010000;
inline constexpr std::uint32_t kDiskScanInfoSignature = 0x00000101;
inline constexpr std::uint32_t kScanInfoSeparator = 0x01010101;
inline constexpr std::size_t kRunRecordStoredSize = 16;
// Scan database files are addressed with 32-bit offsets.
inline constexpr std::uint64_t kScanInfoSectionLimit = 0x80000000;

// The source and the volumes found on it.
struct DiskScanInfo {
  DiskInfo disk;
  std::vector<VolumeInfo> volumes;
};

// Everything of a .vkt before the database files.
struct TreeScanInfo {
  DiskScanInfo disk;
  CurrentVolume volume;
  RunList mft_runs;
};

// The three database files inside a .vkt, as slices of the bytes given.
struct TreeScanSections {
  std::span<const std::uint8_t> tree;     // children lists (NST)
  std::span<const std::uint8_t> entries;  // NSE
  std::span<const std::uint8_t> names;    // NSN
};

struct LoadedTreeScanInfo {
  TreeScanInfo info;
  TreeScanSections sections;
};

// The whole .vkd file.
std::vector<std::uint8_t> StoreDiskScanInfo(const DiskScanInfo& info);
std::optional<DiskScanInfo> LoadDiskScanInfo(std::span<const std::uint8_t> file);

// The .vkt up to and including the run records; the writer then appends each
// database file with SectionHeader in front of it.
std::vector<std::uint8_t> StoreTreeScanHead(const TreeScanInfo& info);
// Separator and u64 length that precede a database file.
std::vector<std::uint8_t> SectionHeader(std::uint64_t length);
inline constexpr std::size_t kSectionHeaderSize = 12;
std::optional<LoadedTreeScanInfo> LoadTreeScanInfo(std::span<const std::uint8_t> file);

}  // namespace salvor

#include "app/scan_info_format.h"

#include <limits>

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"
#include "disk/sector_source.h"

namespace salvor {
namespace {

// Where the stored records keep their list pointers, which the record
// writers leave zero and these files use as more-follows markers.
constexpr std::size_t kDiskInfoListOffset = 534;  // partitions found, then tail
constexpr std::size_t kVolumeNextOffset = 72;
constexpr std::size_t kCurrentVolumeRunsOffset = 48;
static_assert(kDiskInfoListOffset + 8 == kDiskInfoStoredSize);
static_assert(kVolumeNextOffset + 4 == kVolumeInfoStoredSize);
static_assert(kCurrentVolumeRunsOffset + 4 <= kCurrentVolumeStoredSize);

// Writes a stored record with a 32-bit marker in place of the zero pointer at `at`.
void PutWithMarker(ByteWriter& w, std::span<const std::uint8_t> stored, std::size_t at,
                   std::uint32_t marker) {
  w.Bytes(stored.first(at));
  w.U32(marker);
  w.Bytes(stored.subspan(at + 4));
}

void PutDiskScanInfo(ByteWriter& w, std::uint32_t signature, const DiskScanInfo& info) {
  w.U32(signature);
  std::uint32_t listed = info.volumes.empty() ? 0 : 1;
  std::vector<std::uint8_t> disk = StoreDiskInfo(info.disk);
  w.Bytes(std::span(disk).first(kDiskInfoListOffset));
  w.U32(listed);  // partitions found
  w.U32(listed);  // partitions tail
  for (std::size_t i = 0; i < info.volumes.size(); ++i) {
    std::uint32_t more = i + 1 < info.volumes.size() ? 1 : 0;
    PutWithMarker(w, StoreVolumeInfo(info.volumes[i]), kVolumeNextOffset, more);
  }
}

// A stored run count is 32 bits wide: a longer run is written as pieces.
std::vector<Run> StoredRuns(const RunList& runs) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::vector<Run> pieces;
  for (const Run& run : runs) {
    std::uint64_t left = run.length;
    std::uint64_t lcn = run.lcn;
    do {
      std::uint64_t n = std::min(left, kMax);
      pieces.push_back({n, lcn});
      left -= n;
      if (lcn != 0) lcn += n;  // a sparse run stays sparse
    } while (left != 0);
  }
  return pieces;
}

bool IsSectorSize(std::uint16_t bytes) {
  bool valid = false;
  SectorSizeFromStamp(bytes, &valid);
  return valid;
}

// Reads fields one after another; every read past the end fails.
class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> bytes) : reader_(bytes) {}

  std::optional<std::span<const std::uint8_t>> Take(std::uint64_t n) {
    if (n > reader_.size()) return std::nullopt;
    auto slice = reader_.Slice(at_, static_cast<std::size_t>(n));
    if (slice) at_ += static_cast<std::size_t>(n);
    return slice;
  }
  std::optional<std::uint32_t> U32() {
    auto s = Take(4);
    if (!s) return std::nullopt;
    return ByteReader(*s).U32(0);
  }
  std::optional<std::uint64_t> U64() {
    auto s = Take(8);
    if (!s) return std::nullopt;
    return ByteReader(*s).U64(0);
  }
  std::size_t remaining() const { return reader_.size() - at_; }

 private:
  ByteReader reader_;
  std::size_t at_ = 0;
};

std::optional<DiskScanInfo> ReadDiskScanInfo(Cursor& in, std::uint32_t signature) {
  if (in.U32() != signature) return std::nullopt;
  auto stored = in.Take(kDiskInfoStoredSize);
  if (!stored) return std::nullopt;
  DiskScanInfo info;
  info.disk = *LoadDiskInfo(*stored);
  if (!IsSectorSize(info.disk.bytes_per_sector)) return std::nullopt;
  if (*ByteReader(*stored).U32(kDiskInfoListOffset) == 0) return info;
  // Each record is taken from the bytes, so a chain that never ends runs out
  // of file instead of looping.
  for (;;) {
    auto record = in.Take(kVolumeInfoStoredSize);
    if (!record) return std::nullopt;
    info.volumes.push_back(*LoadVolumeInfo(*record));
    if (*ByteReader(*record).U32(kVolumeNextOffset) == 0) return info;
  }
}

// Geometry that the engines divide by or size buffers from must be what a
// volume could have.
bool PlausibleVolume(const CurrentVolume& v) {
  return IsSectorSize(v.bytes_per_sector) && v.sectors_per_cluster != 0 &&
         v.bytes_per_cluster != 0 && v.bytes_per_file_record != 0 &&
         v.bytes_per_index_record != 0;
}

}  // namespace

std::vector<std::uint8_t> StoreDiskScanInfo(const DiskScanInfo& info) {
  ByteWriter w;
  PutDiskScanInfo(w, kDiskScanInfoSignature, info);
  return w.Take();
}

std::optional<DiskScanInfo> LoadDiskScanInfo(std::span<const std::uint8_t> file) {
  Cursor in(file);
  return ReadDiskScanInfo(in, kDiskScanInfoSignature);
}

std::vector<std::uint8_t> StoreTreeScanHead(const TreeScanInfo& info) {
  ByteWriter w;
  PutDiskScanInfo(w, kTreeInfoSignature, info.disk);
  std::vector<Run> runs = StoredRuns(info.mft_runs);
  PutWithMarker(w, StoreCurrentVolume(info.volume), kCurrentVolumeRunsOffset,
                runs.empty() ? 0 : 1);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    w.U32(static_cast<std::uint32_t>(runs[i].length));
    w.U64(runs[i].lcn);
    w.U32(i + 1 < runs.size() ? 1 : 0);
  }
  return w.Take();
}

std::vector<std::uint8_t> SectionHeader(std::uint64_t length) {
  ByteWriter w;
  w.U32(kScanInfoSeparator);
  w.U64(length);
  return w.Take();
}

std::optional<LoadedTreeScanInfo> LoadTreeScanInfo(std::span<const std::uint8_t> file) {
  Cursor in(file);
  LoadedTreeScanInfo loaded;
  auto disk = ReadDiskScanInfo(in, kTreeInfoSignature);
  if (!disk) return std::nullopt;
  loaded.info.disk = std::move(*disk);

  auto volume = in.Take(kCurrentVolumeStoredSize);
  if (!volume) return std::nullopt;
  loaded.info.volume = *LoadCurrentVolume(*volume);
  if (!PlausibleVolume(loaded.info.volume)) return std::nullopt;
  if (*ByteReader(*volume).U32(kCurrentVolumeRunsOffset) != 0) {
    for (;;) {
      auto record = in.Take(kRunRecordStoredSize);
      if (!record) return std::nullopt;
      ByteReader r(*record);
      loaded.info.mft_runs.push_back({*r.U32(0), *r.U64(4)});
      if (*r.U32(12) == 0) break;
    }
  }

  for (std::span<const std::uint8_t>* section :
       {&loaded.sections.tree, &loaded.sections.entries, &loaded.sections.names}) {
    if (in.U32() != kScanInfoSeparator) return std::nullopt;
    auto length = in.U64();
    if (!length || *length > kScanInfoSectionLimit || *length > in.remaining())
      return std::nullopt;
    *section = *in.Take(*length);
  }
  return loaded;
}

}  // namespace salvor

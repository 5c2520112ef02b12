#include "volume_fixture.h"

#include <deque>
#include <memory>

#include "disk/disk_info.h"
#include "ntfs/mft_locator.h"
#include "support/memory_device.h"

namespace salvor::testing {

VolumeFixture::VolumeFixture(std::uint64_t first_sector, std::uint64_t clusters, RunList mft_runs)
    : image(first_sector * 512 + clusters * kClusterBytes, 0), first_sector_(first_sector) {
  CurrentVolume& v = state.volume;
  v.first_sector = first_sector;
  v.length = clusters * 8;
  v.bytes_per_sector = 512;
  v.sectors_per_cluster = 8;
  v.bytes_per_cluster = 4096;
  v.bytes_per_file_record = 1024;
  v.sectors_per_file_record = 2;
  v.bytes_per_index_record = 4096;
  v.sectors_per_index_record = 8;
  if (!mft_runs.empty()) {
    v.mft_lcn = mft_runs.front().lcn;
    v.mft_sector = ClusterSectorOf(v.mft_lcn);
    std::uint64_t count = 0;
    for (const Run& r : mft_runs) count += r.length * 4;
    v.mft_record_count = static_cast<std::uint32_t>(count);
  }
  state.mft_runs = std::move(mft_runs);
}

std::uint64_t VolumeFixture::RecordSector(std::uint32_t position) const {
  return *MftRecordSector(state.mft_runs, state.volume, position);
}

void VolumeFixture::PutAtSector(std::uint64_t sector, const Bytes& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(sector * 512));
}

void VolumeFixture::PutRecord(std::uint32_t position, const Bytes& record) {
  PutAtSector(RecordSector(position), record);
}

void VolumeFixture::PutCluster(std::uint64_t lcn, const Bytes& bytes) {
  PutAtSector(ClusterSectorOf(lcn), bytes);
}

void VolumeFixture::Attach() {
  auto device = std::make_unique<MemoryDevice>(image);
  device_ = device.get();
  state.source.Attach(std::move(device), "memory", 512);
}

namespace {

Bytes DataOfSize(std::uint32_t size) {
  Bytes b(size);
  for (std::uint32_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(i * 7);
  return b;
}

}  // namespace

Bytes FileRecord(std::uint32_t number, std::uint32_t parent, const std::u16string& name,
                 std::uint32_t size, bool in_use, std::uint16_t usa_offset) {
  RecordBuilder b(kRecordBytes, usa_offset);
  b.Flags(in_use ? 1 : 0).RecordNumber(number);
  b.Resident(0x10, StandardInformation(NtfsTime(2021, 3, 4), NtfsTime(2022, 5, 6), 0x20));
  b.Resident(0x30, FileNameValue(parent, name));
  if (size <= 600)
    b.Resident(0x80, DataOfSize(size));
  else
    b.NonResident(0x80, Bytes{0x11, 0x01, 0x50}, size, 0, 0);
  return b.Build();
}

Bytes FolderRecord(std::uint32_t number, std::uint32_t parent, const std::u16string& name,
                   bool in_use, std::uint16_t usa_offset) {
  RecordBuilder b(kRecordBytes, usa_offset);
  b.Flags(in_use ? 3 : 2).RecordNumber(number);
  b.Resident(0x10, StandardInformation(NtfsTime(2020, 1, 2), NtfsTime(2020, 1, 3), 0));
  b.Resident(0x30, FileNameValue(parent, name));
  b.Resident(0x90, IndexRootValue(number), u"$I30");
  return b.Build();
}

Bytes MftRecord(const Bytes& data_runs, std::uint64_t highest_vcn) {
  const std::uint64_t t = NtfsTime(2020, 1, 1);
  RecordBuilder b(kRecordBytes);
  b.Flags(1).RecordNumber(0);
  b.Resident(0x10, StandardInformation(t, t, 6, t));
  b.Resident(0x30, FileNameValue(5, u"$MFT", 3));
  b.NonResident(0x80, data_runs, (highest_vcn + 1) * kClusterBytes, 0, highest_vcn);
  return b.Build();
}

std::map<std::string, EntryNode> ReadTree(ScanDatabaseReader& db) {
  std::map<std::string, EntryNode> tree;
  std::deque<std::pair<std::uint32_t, std::string>> folders{{0, ""}};
  std::size_t guard = 0;
  while (!folders.empty() && ++guard < 100000) {
    auto [block, path] = folders.front();
    folders.pop_front();
    db.VisitChildren(block, [&](const EntryNode& e) {
      std::string p = (path.empty() ? "" : path + "/") + Utf16ToUtf8(e.name);
      if (e.folder()) folders.emplace_back(e.child_block, p);
      tree.emplace(p, e);
      return true;
    });
  }
  return tree;
}

}  // namespace salvor::testing

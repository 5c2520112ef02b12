// CheckFileRecord, ParseFileRecord and RecordNames on one record, with IsMftRecord and
// IsMftMirrRecord beside them. Input: one FILE record (1024 bytes, or 4096
// when the input is longer). Every record the parser looks up through an
// attribute list, and every cluster of a non-resident list, reads the input
// again, so extension lookups run on hostile bytes too.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fuzz/fuzz_volume.h"
#include "disk/block_device.h"
#include "disk/host.h"
#include "ntfs/engine_state.h"
#include "ntfs/file_record.h"
#include "ntfs/mft_first_record.h"
#include "ntfs/record_names.h"
#include "ntfs/record_parser.h"

namespace {

// A device whose every byte offset repeats the record: any record or
// cluster read sees the input.
class TiledDevice final : public salvor::BlockDevice {
 public:
  explicit TiledDevice(std::vector<std::uint8_t> tile) : tile_(std::move(tile)) {}
  int ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset) override {
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = tile_[(offset + i) % tile_.size()];
    return 0;
  }
  std::uint64_t SizeBytes() const override { return std::uint64_t{1} << 40; }
  std::uint32_t LogicalSectorSize() const override { return 0; }
  bool IsBlockDevice() const override { return false; }
  std::uint64_t DeviceId() const override { return 0; }
  std::uint64_t Inode() const override { return 0; }

 private:
  std::vector<std::uint8_t> tile_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t record_size = size > 1024 ? 4096 : 1024;
  std::vector<std::uint8_t> original(data, data + std::min(size, record_size));
  original.resize(record_size, 0);

  salvor::SilentHost host;
  salvor::RunControl run;
  salvor::EngineState state(host, run);
  salvor::CurrentVolume& v = state.volume;
  salvor::fuzz::UseFuzzGeometry(v, static_cast<std::uint32_t>(record_size));
  state.mft_runs = {salvor::Run{1024, 16}};
  state.source.Attach(std::make_unique<TiledDevice>(original), "fuzz", 512);

  std::vector<std::uint8_t> record = original;
  if (salvor::CheckFileRecord(record)) {
    salvor::EntryInfo entry;
    salvor::ParseFileRecord(state, record, entry);
    if (entry.name_length > salvor::kEntryNameCapacity) __builtin_trap();
    for (const salvor::RecordName& n : salvor::RecordNames(state, record, 0))
      if (n.name.size() > 255) __builtin_trap();  // a $FILE_NAME holds at most 255 units
  }
  std::vector<std::uint8_t> copy = original;
  salvor::IsMftRecord(copy);
  copy = original;
  salvor::IsMftMirrRecord(copy);
  return 0;
}

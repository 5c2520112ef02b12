#pragma once
// A carving disk held in memory, with everything a handler or a scan needs.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "carver/carve_disk.h"
#include "carver/handler_context.h"
#include "carver/signature_record.h"
#include "disk/run_control.h"
#include "support/memory_device.h"
#include "support/recording_host.h"

namespace salvor::carver::testing {

// Bytes of an image under construction: place data at byte offsets.
class ImageBytes {
 public:
  explicit ImageBytes(std::size_t sectors, std::uint32_t sector_size = 512)
      : bytes_(sectors * sector_size, 0), sector_size_(sector_size) {}
  void Put(std::size_t offset, const std::vector<std::uint8_t>& data) {
    if (data.empty()) return;
    if (offset + data.size() > bytes_.size()) bytes_.resize(offset + data.size());
    std::memcpy(bytes_.data() + offset, data.data(), data.size());
  }
  void Put(std::size_t offset, std::string_view text) {
    Put(offset, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  void PutSector(std::uint64_t sector, const std::vector<std::uint8_t>& data) {
    Put(static_cast<std::size_t>(sector * sector_size_), data);
  }
  void PutSector(std::uint64_t sector, std::string_view text) {
    Put(static_cast<std::size_t>(sector * sector_size_), text);
  }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint32_t sector_size_;
};

struct TestDisk {
  explicit TestDisk(std::vector<std::uint8_t> bytes, std::uint16_t sector_size = 512)
      : reader(disk, host), ctx{reader, run, lists} {
    auto dev = std::make_unique<salvor::testing::MemoryDevice>(std::move(bytes), sector_size);
    device = dev.get();
    AttachCarveDisk(disk, std::move(dev), sector_size, "memory");
  }
  CarveDisk disk;
  salvor::testing::RecordingHost host;
  RunControl run;
  ContinuationLists lists;
  SectorReader reader;
  HandlerContext ctx;
  salvor::testing::MemoryDevice* device = nullptr;
};

inline SignatureRecord MakeRecord(std::string_view name, std::string_view extension,
                                  std::string_view category, std::vector<std::uint8_t> signature,
                                  std::uint16_t offset, std::uint32_t type_code,
                                  std::uint8_t selected = 1) {
  SignatureRecord rec;
  rec.name = std::string(name);
  rec.extension = std::string(extension);
  rec.category = std::string(category);
  rec.signature_length = static_cast<std::uint8_t>(signature.size());
  std::copy(signature.begin(), signature.end(), rec.signature.begin());
  rec.signature_offset = offset;
  rec.type_code = type_code;
  rec.selected = selected;
  return rec;
}

inline void PutBE32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}
inline void PutLE32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void PutLE16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutBE16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<std::uint8_t>(v >> 8);
  b[at + 1] = static_cast<std::uint8_t>(v);
}
inline void PutText(std::vector<std::uint8_t>& b, std::size_t at, std::string_view text) {
  if (b.size() < at + text.size()) b.resize(at + text.size());
  std::memcpy(b.data() + at, text.data(), text.size());
}

}  // namespace salvor::carver::testing

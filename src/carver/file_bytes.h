#pragma once
// Bounds-safe access to the bytes of a file that starts at a sector, for the
// end handlers: any offset can be asked for; the sectors that hold it are read
// (a small window at a time, kept while later requests fall inside it).
// Bytes beyond the disk read as zeros.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "carver/carve_disk.h"
#include "disk/byte_reader.h"

namespace salvor::carver {

class FileBytes {
 public:
  FileBytes(SectorReader& reader, std::uint64_t start_sector, std::uint32_t window_sectors = 8);

  // Bytes [offset, offset + length) of the file; valid until the next call.
  // length is at most a few sectors in every handler.
  std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::size_t length);
  ByteReader Reader(std::uint64_t offset, std::size_t length) {
    return ByteReader(Bytes(offset, length));
  }

  std::uint8_t U8(std::uint64_t offset) { return Bytes(offset, 1)[0]; }
  std::uint16_t BE16(std::uint64_t offset);
  std::uint32_t BE32(std::uint64_t offset);
  std::uint16_t LE16(std::uint64_t offset);
  std::uint32_t LE32(std::uint64_t offset);
  bool Equals(std::uint64_t offset, std::string_view text);

  std::uint64_t start_sector() const { return start_; }
  std::uint32_t sector_size() const { return sector_size_; }

 private:
  SectorReader* reader_;
  std::uint64_t start_;
  std::uint32_t sector_size_;
  std::uint32_t window_sectors_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t buffer_first_ = 0;  // first sector in buffer_, relative to start_
  std::uint64_t buffer_sectors_ = 0;
  std::vector<std::uint8_t> zeros_;
};

}  // namespace salvor::carver

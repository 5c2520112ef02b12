#pragma once
// An independent reading of the archives the tests write: the end record,
// every central entry, its local header, data and descriptor, with each
// member's data inflated by zlib.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace salvor::testing {

struct ReadZipEntry {
  std::uint16_t made_by = 0, needed = 0, flags = 0, method = 0, dos_time = 0, dos_date = 0;
  std::uint32_t crc = 0, compressed_size = 0, size = 0, external_attributes = 0, local_offset = 0;
  std::string name;
  std::vector<std::uint8_t> central_extra;
  // From the local header and the descriptor.
  std::uint32_t local_crc = 0, local_compressed_size = 0, local_size = 0;
  std::vector<std::uint8_t> local_extra;
  bool has_descriptor = false;
  std::uint32_t descriptor_crc = 0, descriptor_compressed_size = 0, descriptor_size = 0;
  std::vector<std::uint8_t> data;  // uncompressed (inflated by zlib)
};

struct ReadZip {
  std::vector<ReadZipEntry> entries;
  std::uint64_t central_offset = 0, central_size = 0;
};

// nullopt (with `why` filled) when the archive is not as expected.
std::optional<ReadZip> ReadZipFile(const std::filesystem::path& path, std::string& why);

}  // namespace salvor::testing

#pragma once
// Builds FILE records, attribute values and attribute list entries byte by
// byte for the record reader's tests, with the update sequence applied the
// way NTFS writes it.

#include <cstdint>
#include <string>
#include <vector>

namespace salvor::testing {

using Bytes = std::vector<std::uint8_t>;

class RecordBuilder {
 public:
  explicit RecordBuilder(std::size_t size = 1024, std::uint16_t usa_offset = 0x30);

  RecordBuilder& Flags(std::uint16_t flags);
  RecordBuilder& BaseReference(std::uint64_t reference);
  RecordBuilder& RecordNumber(std::uint32_t number);
  // Overrides where the header says the first attribute lies (attributes are
  // still placed at the usual offset).
  RecordBuilder& FirstAttributeField(std::uint16_t offset);
  RecordBuilder& Raw(const Bytes& attribute);
  RecordBuilder& Resident(std::uint32_t type, const Bytes& value, const std::u16string& name = {},
                          std::uint16_t value_offset = 0);
  RecordBuilder& NonResident(std::uint32_t type, const Bytes& run_list, std::uint64_t real_size,
                             std::uint64_t lowest_vcn = 0, std::uint64_t highest_vcn = 0,
                             const std::u16string& name = {});
  // Leaves out the end marker (bytes in use end at the last attribute).
  RecordBuilder& NoEndMarker();

  std::uint16_t first_attribute() const { return first_; }
  // The record as it lies on disk: the last u16 of every 512 bytes replaced
  // by the update sequence number `usn`.
  Bytes Build(std::uint16_t usn = 0x0102) const;

 private:
  std::size_t size_;
  std::uint16_t usa_offset_;
  std::uint16_t first_;
  std::uint16_t first_field_;
  std::uint16_t flags_ = 1;
  std::uint64_t base_ = 0;
  std::uint32_t number_ = 0;
  bool end_marker_ = true;
  Bytes attributes_;
};

// Values of the usual attributes.
Bytes StandardInformation(std::uint64_t creation, std::uint64_t access, std::uint32_t attributes,
                          std::uint64_t other_times = 0);
Bytes FileNameValue(std::uint32_t parent, const std::u16string& name, std::uint8_t name_space = 1);
// An $INDEX_ROOT of $I30 with one entry whose key names `first_parent` as
// parent, plus the end entry; empty: only the end entry.
Bytes IndexRootValue(std::uint32_t first_parent, bool empty = false);
Bytes AttributeListEntry(std::uint32_t type, std::uint32_t record, std::uint64_t starting_vcn = 0,
                         std::uint8_t name_length = 0);
// An NTFS time (100-ns units since 1601) of a date at midnight.
std::uint64_t NtfsTime(int year, int month, int day);

}  // namespace salvor::testing

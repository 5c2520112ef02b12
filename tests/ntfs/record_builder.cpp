#include "record_builder.h"

#include "disk/byte_writer.h"

namespace salvor::testing {
namespace {

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put64(Bytes& b, std::size_t at, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Pad8(ByteWriter& w) {
  while (w.size() % 8) w.U8(0);
}

}  // namespace

RecordBuilder::RecordBuilder(std::size_t size, std::uint16_t usa_offset)
    : size_(size), usa_offset_(usa_offset) {
  std::size_t count = size / 512 + 1;
  std::size_t padded = (2 * count + 7) / 8 * 8;
  if (usa_offset == 0x2A) padded -= 2;
  first_ = static_cast<std::uint16_t>(usa_offset + padded);
  first_field_ = first_;
}

RecordBuilder& RecordBuilder::Flags(std::uint16_t flags) {
  flags_ = flags;
  return *this;
}
RecordBuilder& RecordBuilder::BaseReference(std::uint64_t reference) {
  base_ = reference;
  return *this;
}
RecordBuilder& RecordBuilder::RecordNumber(std::uint32_t number) {
  number_ = number;
  return *this;
}
RecordBuilder& RecordBuilder::FirstAttributeField(std::uint16_t offset) {
  first_field_ = offset;
  return *this;
}
RecordBuilder& RecordBuilder::NoEndMarker() {
  end_marker_ = false;
  return *this;
}
RecordBuilder& RecordBuilder::Raw(const Bytes& attribute) {
  attributes_.insert(attributes_.end(), attribute.begin(), attribute.end());
  return *this;
}

RecordBuilder& RecordBuilder::Resident(std::uint32_t type, const Bytes& value,
                                       const std::u16string& name, std::uint16_t value_offset) {
  ByteWriter w;
  const std::size_t name_at = 0x18;
  std::size_t value_at = value_offset ? value_offset : (name_at + 2 * name.size() + 7) / 8 * 8;
  w.U32(type);
  w.U32(0);  // length, below
  w.U8(0);
  w.U8(static_cast<std::uint8_t>(name.size()));
  w.U16(name.empty() ? 0 : static_cast<std::uint16_t>(name_at));
  w.U16(0);  // flags
  w.U16(0);  // identifier
  w.U32(static_cast<std::uint32_t>(value.size()));
  w.U16(static_cast<std::uint16_t>(value_at));
  w.U8(0);
  w.U8(0);
  for (char16_t c : name) w.U16(c);
  while (w.size() < value_at) w.U8(0);
  w.Bytes(value);
  Pad8(w);
  Bytes b = w.Take();
  Put32(b, 4, static_cast<std::uint32_t>(b.size()));
  return Raw(b);
}

RecordBuilder& RecordBuilder::NonResident(std::uint32_t type, const Bytes& run_list,
                                          std::uint64_t real_size, std::uint64_t lowest_vcn,
                                          std::uint64_t highest_vcn, const std::u16string& name) {
  ByteWriter w;
  const std::size_t name_at = 0x40;
  const std::size_t runs_at = (name_at + 2 * name.size() + 7) / 8 * 8;
  w.U32(type);
  w.U32(0);
  w.U8(1);
  w.U8(static_cast<std::uint8_t>(name.size()));
  w.U16(name.empty() ? 0 : static_cast<std::uint16_t>(name_at));
  w.U16(0);
  w.U16(0);
  w.U64(lowest_vcn);
  w.U64(highest_vcn);
  w.U16(static_cast<std::uint16_t>(runs_at));
  w.U16(0);  // compression unit
  w.U32(0);
  w.U64((real_size + 4095) / 4096 * 4096);  // allocated
  w.U64(real_size);
  w.U64(real_size);  // initialized
  for (char16_t c : name) w.U16(c);
  while (w.size() < runs_at) w.U8(0);
  w.Bytes(run_list);
  w.U8(0);
  Pad8(w);
  Bytes b = w.Take();
  Put32(b, 4, static_cast<std::uint32_t>(b.size()));
  return Raw(b);
}

Bytes RecordBuilder::Build(std::uint16_t usn) const {
  Bytes r(size_, 0);
  r[0] = 'F';
  r[1] = 'I';
  r[2] = 'L';
  r[3] = 'E';
  const std::size_t count = size_ / 512 + 1;
  Put16(r, 0x04, usa_offset_);
  Put16(r, 0x06, static_cast<std::uint16_t>(count));
  Put16(r, 0x10, 1);  // sequence number
  Put16(r, 0x12, 1);  // link count
  Put16(r, 0x14, first_field_);
  Put16(r, 0x16, flags_);
  Put64(r, 0x20, base_);
  if (usa_offset_ == 0x30) Put32(r, 0x2C, number_);
  std::size_t at = first_;
  for (std::size_t i = 0; i < attributes_.size() && at + i < size_; ++i) r[at + i] = attributes_[i];
  at += attributes_.size();
  if (end_marker_) {
    Put32(r, at, 0xFFFFFFFF);
    at += 8;
  }
  Put32(r, 0x18, static_cast<std::uint32_t>(at));
  Put32(r, 0x1C, static_cast<std::uint32_t>(size_));
  // Update sequence: keep the original last u16 of each 512 bytes in the
  // array and stamp the sequence number in its place.
  Put16(r, usa_offset_, usn);
  for (std::size_t k = 1; k < count; ++k) {
    std::size_t end = k * 512 - 2;
    r[usa_offset_ + 2 * k] = r[end];
    r[usa_offset_ + 2 * k + 1] = r[end + 1];
    Put16(r, end, usn);
  }
  return r;
}

Bytes StandardInformation(std::uint64_t creation, std::uint64_t access, std::uint32_t attributes,
                          std::uint64_t other_times) {
  ByteWriter w;
  w.U64(creation);
  w.U64(other_times ? other_times : creation);
  w.U64(other_times ? other_times : creation);
  w.U64(access);
  w.U32(attributes);
  w.Zeros(0x48 - 0x24);
  return w.Take();
}

Bytes FileNameValue(std::uint32_t parent, const std::u16string& name, std::uint8_t name_space) {
  ByteWriter w;
  w.U64(parent | (std::uint64_t{1} << 48));  // sequence number 1 in the high word
  w.Zeros(0x38 - 8);
  w.U32(0x20);
  w.U32(0);
  w.U8(static_cast<std::uint8_t>(name.size()));
  w.U8(name_space);
  for (char16_t c : name) w.U16(c);
  return w.Take();
}

Bytes IndexRootValue(std::uint32_t first_parent, bool empty) {
  ByteWriter entries;
  if (!empty) {
    Bytes key = FileNameValue(first_parent, u"child.txt");
    entries.U64(77);  // the child's file reference
    std::size_t length = (0x10 + key.size() + 7) / 8 * 8;
    entries.U16(static_cast<std::uint16_t>(length));
    entries.U16(static_cast<std::uint16_t>(key.size()));
    entries.U32(0);
    entries.Bytes(key);
    Pad8(entries);
  }
  entries.U64(0);  // end entry
  entries.U16(0x10);
  entries.U16(0);
  entries.U32(2);  // last entry
  ByteWriter w;
  w.U32(0x30);
  w.U32(1);  // collation: file name
  w.U32(4096);
  w.U32(1);
  std::uint32_t length = static_cast<std::uint32_t>(0x10 + entries.size());
  w.U32(0x10);
  w.U32(length);
  w.U32(length);
  w.U32(0);
  w.Bytes(entries.bytes());
  return w.Take();
}

Bytes AttributeListEntry(std::uint32_t type, std::uint32_t record, std::uint64_t starting_vcn,
                         std::uint8_t name_length) {
  ByteWriter w;
  w.U32(type);
  std::size_t length = (0x1A + 2 * name_length + 7) / 8 * 8;
  w.U16(static_cast<std::uint16_t>(length));
  w.U8(name_length);
  w.U8(name_length ? 0x1A : 0);
  w.U64(starting_vcn);
  w.U64(record | (std::uint64_t{1} << 48));
  w.U16(0);
  for (int i = 0; i < name_length; ++i) w.U16('n');
  Pad8(w);
  return w.Take();
}

std::uint64_t NtfsTime(int year, int month, int day) {
  // Days since 1970-01-01 (civil calendar), then shifted to 1601.
  int y = year - (month <= 2 ? 1 : 0);
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400;
  int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long long days = static_cast<long long>(era) * 146097 + doe - 719468;
  return static_cast<std::uint64_t>(days + 134774) * 864000000000ull;
}

}  // namespace salvor::testing

#include "carver/signature_record.h"

#include <algorithm>
#include <cctype>

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"

namespace salvor::carver {
namespace {

// A NUL-terminated text inside a fixed field; a field without NUL is taken whole.
std::string TextField(const ByteReader& r, std::size_t offset, std::size_t size) {
  auto s = r.Slice(offset, size);
  if (!s) return {};
  auto end = std::find(s->begin(), s->end(), std::uint8_t{0});
  return std::string(s->begin(), end);
}

void PutTextField(ByteWriter& w, std::string_view text, std::size_t size) {
  std::size_t n = std::min(text.size(), size - 1);
  for (std::size_t i = 0; i < size; ++i) w.U8(i < n ? static_cast<std::uint8_t>(text[i]) : 0);
}

}  // namespace

std::optional<SignatureRecord> ParseSignatureRecord(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  if (!r.Has(0, kSignatureRecordSize)) return std::nullopt;
  SignatureRecord rec;
  rec.selected = *r.U8(field::kSelected);
  rec.signature_length = *r.U8(field::kSignatureLength);
  rec.signature_offset = *r.U16(field::kSignatureOffset);
  auto sig = *r.Slice(field::kSignatureBytes, kSignatureBytesField);
  std::copy(sig.begin(), sig.end(), rec.signature.begin());
  rec.name = TextField(r, field::kName, kNameField);
  rec.extension = TextField(r, field::kExtension, kExtensionField);
  rec.default_length = *r.U32(field::kDefaultLength);
  rec.maximum_length = *r.U32(field::kMaximumLength);
  rec.found_length = *r.U32(field::kFoundLength);
  rec.skip_length = *r.U32(field::kSkipLength);
  rec.skip_valid = *r.U8(field::kSkipValid);
  rec.category = TextField(r, field::kCategory, kCategoryField);
  rec.type_code = *r.U32(field::kTypeCode);
  rec.link = *r.U32(field::kLink);
  return rec;
}

std::vector<std::uint8_t> StoreSignatureRecord(const SignatureRecord& rec) {
  ByteWriter w;
  w.U8(0);
  w.U8(rec.selected);
  w.U8(rec.signature_length);
  w.U16(rec.signature_offset);
  w.Bytes(rec.signature);
  w.Zeros(257);
  PutTextField(w, rec.name, kNameField);
  PutTextField(w, rec.extension, kExtensionField);
  w.U32(rec.default_length);
  w.U32(rec.maximum_length);
  w.U32(rec.found_length);
  w.U32(rec.skip_length);
  w.U8(rec.skip_valid);
  w.U8(0);
  PutTextField(w, rec.category, kCategoryField);
  w.U32(rec.type_code);
  w.U32(rec.link);
  return w.Take();
}

std::string KeyText(std::span<const std::uint8_t> bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    if (b >= 0x10) text.push_back(kHex[b >> 4]);
    text.push_back(kHex[b & 0xF]);
  }
  return text;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace salvor::carver

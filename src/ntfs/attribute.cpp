#include "ntfs/attribute.h"

#include <algorithm>

#include "ntfs/file_record.h"

namespace salvor {

AttributeWalker::AttributeWalker(std::span<const std::uint8_t> record) : r_(record) {
  offset_ = r_.U16(file_record::kFirstAttribute).value_or(0);
  end_ = std::min<std::size_t>(r_.U32(file_record::kBytesInUse).value_or(0), record.size());
}

std::optional<Attribute> AttributeWalker::Next() {
  if (offset_ >= end_ || !r_.Has(offset_, 8)) return std::nullopt;
  const std::uint32_t type = LoadU32(r_.bytes().data() + offset_ + attr::kType);
  const std::uint32_t length = LoadU32(r_.bytes().data() + offset_ + attr::kLength);
  if (type == attr::kEndMarker || length == 0 || !r_.Has(offset_, length)) {
    end_ = 0;
    return std::nullopt;
  }
  Attribute a(r_.bytes().subspan(offset_, length), offset_, type);
  offset_ += length;
  return a;
}

}  // namespace salvor

#include "disk/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace salvor {
namespace {

TEST(ByteReader, ReadsLittleEndianInsideAndNothingOutside) {
  std::vector<std::uint8_t> b = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xFF};
  ByteReader r(b);
  EXPECT_EQ(r.U16(0), 0x0201);
  EXPECT_EQ(r.U32(1), 0x05040302u);
  EXPECT_EQ(r.U64(0), 0x0807060504030201ull);
  EXPECT_EQ(r.S8(8), -1);
  EXPECT_FALSE(r.U64(2).has_value());  // would end one byte past the buffer
  EXPECT_FALSE(r.U8(9).has_value());
  EXPECT_FALSE(r.Has(std::numeric_limits<std::size_t>::max(), 2));
  EXPECT_FALSE(r.Slice(8, std::numeric_limits<std::size_t>::max()).has_value());
}

TEST(ByteReader, VariableWidthIntegersSignExtend) {
  std::vector<std::uint8_t> b = {0xFE, 0xFF, 0x7F, 0x00, 0x80};
  ByteReader r(b);
  EXPECT_EQ(r.SIntN(0, 1), -2);
  EXPECT_EQ(r.SIntN(0, 2), -2);
  EXPECT_EQ(r.SIntN(1, 2), 0x7FFF);
  EXPECT_EQ(r.SIntN(3, 2), static_cast<std::int64_t>(0xFFFFFFFFFFFF8000ull));
  EXPECT_EQ(r.UIntN(0, 3), 0x7FFFFEu);
  EXPECT_FALSE(r.UIntN(0, 0).has_value());
  EXPECT_FALSE(r.UIntN(0, 9).has_value());
  EXPECT_FALSE(r.SIntN(3, 3).has_value());
}

}  // namespace
}  // namespace salvor

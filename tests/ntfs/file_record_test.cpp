#include "ntfs/file_record.h"

#include <gtest/gtest.h>

#include "ntfs/index_record.h"
#include "ntfs/mft_first_record.h"
#include "record_builder.h"

namespace salvor {
namespace {

using testing::Bytes;
using testing::FileNameValue;
using testing::RecordBuilder;
using testing::StandardInformation;

RecordBuilder Typical(std::size_t size = 1024, std::uint16_t usa_offset = 0x30) {
  RecordBuilder b(size, usa_offset);
  b.Resident(0x10, StandardInformation(1, 2, 0x20))
      .Resident(0x30, FileNameValue(5, u"file.txt"))
      .Resident(0x80, Bytes{'h', 'i'});
  return b;
}

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A record whose bytes in use reach into its second 512-byte block.
RecordBuilder Full() {
  RecordBuilder b(1024);
  b.Resident(0x10, StandardInformation(1, 2, 0x20))
      .Resident(0x30, FileNameValue(5, u"file.txt"))
      .Resident(0x80, Bytes(700, 0));
  return b;
}

TEST(CheckFileRecord, TypicalRecordPassesAndIsRepaired) {
  Bytes r = Full().Build(0x0007);
  EXPECT_EQ(r[510], 0x07);
  ASSERT_TRUE(CheckFileRecord(r));
  EXPECT_EQ(r[510], 0x00);   // the original bytes are back
  EXPECT_EQ(r[1022], 0x07);  // beyond the bytes in use: left as it is
}

TEST(CheckFileRecord, RepairedBytesComeFromTheArray) {
  RecordBuilder b(1024);
  Bytes filler(500, 0);
  for (std::size_t i = 0; i < filler.size(); ++i) filler[i] = static_cast<std::uint8_t>(i);
  b.Resident(0x10, StandardInformation(1, 2, 0)).Resident(0x80, filler);
  Bytes clean = b.Build();
  Bytes r = clean;
  // What was there before the sequence number was stamped.
  const std::uint16_t original = static_cast<std::uint16_t>(r[0x32] | (r[0x33] << 8));
  ASSERT_TRUE(CheckFileRecord(r));
  EXPECT_EQ(r[510] | (r[511] << 8), original);
}

TEST(CheckFileRecord, MismatchInsideTheBytesInUseFails) {
  Bytes r = Full().Build();
  r[510] ^= 0xFF;
  EXPECT_FALSE(CheckFileRecord(r));
}

TEST(CheckFileRecord, MismatchBeyondTheBytesInUseIsAccepted) {
  Bytes r = Typical().Build();
  ASSERT_LT(r[0x18] | (r[0x19] << 8), 512);
  r[1022] ^= 0xFF;  // the second block lies wholly beyond the bytes in use
  Bytes before = r;
  ASSERT_TRUE(CheckFileRecord(r));
  EXPECT_EQ(r[1022], before[1022]);  // left untouched
  EXPECT_EQ(r[1023], before[1023]);
}

TEST(CheckFileRecord, OldHeaderWithThreeEntriesAndFirstAttributeAt0x30Passes) {
  RecordBuilder b = Typical(1024, 0x2A);
  EXPECT_EQ(b.first_attribute(), 0x30);
  Bytes r = b.Build();
  EXPECT_TRUE(CheckFileRecord(r));
}

TEST(CheckFileRecord, OldHeaderWithFirstAttributeAt0x38Fails) {
  Bytes r = Typical(1024, 0x2A).FirstAttributeField(0x38).Build();
  EXPECT_FALSE(CheckFileRecord(r));
}

TEST(CheckFileRecord, NewHeaderFirstAttributeAt0x38PassesAnd0x30Fails) {
  RecordBuilder b = Typical(1024, 0x30);
  EXPECT_EQ(b.first_attribute(), 0x38);
  Bytes ok = b.Build();
  EXPECT_TRUE(CheckFileRecord(ok));
  Bytes bad = Typical(1024, 0x30).FirstAttributeField(0x30).Build();
  EXPECT_FALSE(CheckFileRecord(bad));
}

TEST(CheckFileRecord, FirstAttributeBeingTheEndMarkerFails) {
  Bytes r = RecordBuilder(1024).Build();
  EXPECT_FALSE(CheckFileRecord(r));
}

TEST(CheckFileRecord, LoneAttributeWithoutEndMarkerFails) {
  Bytes r = RecordBuilder(1024).Resident(0x10, StandardInformation(1, 2, 0)).NoEndMarker().Build();
  EXPECT_FALSE(CheckFileRecord(r));
  Bytes two = RecordBuilder(1024)
                  .Resident(0x10, StandardInformation(1, 2, 0))
                  .Resident(0x30, FileNameValue(5, u"a"))
                  .NoEndMarker()
                  .Build();
  EXPECT_TRUE(CheckFileRecord(two));
}

TEST(CheckFileRecord, HeaderTests) {
  {
    Bytes r = Typical().Build();
    r[0] = 'B';
    EXPECT_FALSE(CheckFileRecord(r));
  }
  {
    Bytes r = Typical().Build();
    Put16(r, 0x04, 0x28);
    EXPECT_FALSE(CheckFileRecord(r));
  }
  {
    Bytes r = Typical().Build();
    Put16(r, 0x06, 2);  // the count must be size / 512 + 1
    EXPECT_FALSE(CheckFileRecord(r));
  }
  {
    Bytes r = Typical().Build();
    Put16(r, 0x18, 0x41C);  // bytes in use above bytes allocated
    Put16(r, 0x1A, 0);
    EXPECT_FALSE(CheckFileRecord(r));
  }
  {
    Bytes r = Typical().Build();
    r[0x18] = static_cast<std::uint8_t>(r[0x18] + 4);  // not a multiple of 8
    EXPECT_FALSE(CheckFileRecord(r));
  }
  {
    Bytes r = Typical().Build();  // a record of another size than the volume's
    Bytes longer = r;
    longer.resize(2048);
    EXPECT_FALSE(CheckFileRecord(longer));
  }
  Bytes tiny(16, 0);
  EXPECT_FALSE(CheckFileRecord(tiny));
  EXPECT_FALSE(CheckFileRecord({}));
}

TEST(CheckFileRecord, BadAttributeTypeOrLengthFails) {
  Bytes odd_type = RecordBuilder(1024)
                       .Resident(0x10, StandardInformation(1, 2, 0))
                       .Resident(0x38, Bytes(8, 0))
                       .Build();
  EXPECT_FALSE(CheckFileRecord(odd_type));
  Bytes type_0x100 = RecordBuilder(1024)
                         .Resident(0x10, StandardInformation(1, 2, 0))
                         .Resident(0x100, Bytes(8, 0))
                         .Build();
  EXPECT_TRUE(CheckFileRecord(type_0x100));
  Bytes zero_length = RecordBuilder(1024)
                          .Resident(0x10, StandardInformation(1, 2, 0))
                          .Raw(Bytes{0x30, 0, 0, 0, 0, 0, 0, 0})
                          .Build();
  EXPECT_FALSE(CheckFileRecord(zero_length));
}

TEST(CheckFileRecord, UpdateSequenceEvery512BytesOfA4096ByteRecord) {
  // A 4096-byte record (as on a 4096-byte-sector disk) carries 9 entries.
  RecordBuilder b(4096);
  b.Resident(0x10, StandardInformation(1, 2, 0)).Resident(0x80, Bytes(3000, 0x5A));
  Bytes r = b.Build(0x0203);
  EXPECT_EQ(r[6], 9);
  ASSERT_TRUE(CheckFileRecord(r));
  for (std::size_t k = 1; k <= 6; ++k) EXPECT_NE(r[k * 512 - 2], 0x03) << k;
  Bytes torn = b.Build(0x0203);
  torn[3 * 512 - 1] ^= 1;
  EXPECT_FALSE(CheckFileRecord(torn));
  // One entry per 4096-byte sector (2) is not how NTFS writes it.
  Bytes per_sector = b.Build();
  Put16(per_sector, 6, 2);
  EXPECT_FALSE(CheckFileRecord(per_sector));
}

TEST(CheckFileRecord, HeaderAccessors) {
  Bytes r = Typical().Flags(3).BaseReference(0x0001000000000042).RecordNumber(77).Build();
  ASSERT_TRUE(CheckFileRecord(r));
  EXPECT_EQ(FileRecordFlags(r), 3);
  EXPECT_EQ(BaseRecordReference(r), 0x0001000000000042u);
  EXPECT_EQ(UpdateSequenceOffset(r), 0x30);
  EXPECT_EQ(HeaderRecordNumber(r), 77u);
}

// --- $MFT and $MFTMirr records ---

Bytes SystemRecord(const std::u16string& name, bool equal_times = true) {
  return RecordBuilder(1024)
      .Resident(0x10, StandardInformation(9, 9, 6, equal_times ? 9 : 10))
      .Resident(0x30, FileNameValue(5, name, 3))
      .NonResident(0x80, Bytes{0x11, 0x40, 0x04}, 0x40000, 0, 0x3F)
      .Build();
}

TEST(IsMftRecord, RecognisesTheMftsOwnRecord) {
  Bytes r = SystemRecord(u"$MFT");
  EXPECT_TRUE(IsMftRecord(r));
  Bytes other = SystemRecord(u"$MFTX");  // longer: ends the walk, no match
  EXPECT_FALSE(IsMftRecord(other));
  Bytes different = SystemRecord(u"$MFS");
  EXPECT_FALSE(IsMftRecord(different));
  Bytes unequal = SystemRecord(u"$MFT", false);
  EXPECT_FALSE(IsMftRecord(unequal));
  Bytes mirror = SystemRecord(u"$MFTMirr");
  EXPECT_FALSE(IsMftRecord(mirror));
}

TEST(IsMftMirrRecord, RecognisesTheMirrorsRecord) {
  Bytes r = SystemRecord(u"$MFTMirr");
  EXPECT_TRUE(IsMftMirrRecord(r));
  Bytes mft = SystemRecord(u"$MFT");
  EXPECT_FALSE(IsMftMirrRecord(mft));
  Bytes broken = SystemRecord(u"$MFTMirr");
  broken[0] = 'B';
  EXPECT_FALSE(IsMftMirrRecord(broken));
}

// --- INDX records ---

Bytes IndexRecord(std::size_t size, std::uint32_t index_length, std::uint16_t usn = 0x0011) {
  Bytes r(size, 0);
  r[0] = 'I';
  r[1] = 'N';
  r[2] = 'D';
  r[3] = 'X';
  const std::size_t count = size / 512 + 1;
  Put16(r, 0x04, 0x28);
  Put16(r, 0x06, static_cast<std::uint16_t>(count));
  const std::size_t entries = (0x28 + 2 * count + 7) / 8 * 8 - 0x18;
  r[0x18] = static_cast<std::uint8_t>(entries);
  for (int i = 0; i < 4; ++i) {
    r[0x1C + i] = static_cast<std::uint8_t>(index_length >> (8 * i));
    r[0x20 + i] = static_cast<std::uint8_t>((size - 0x18) >> (8 * i));
  }
  for (std::size_t i = 0x18 + entries; i < size; ++i) r[i] = static_cast<std::uint8_t>(i);
  Put16(r, 0x28, usn);
  for (std::size_t k = 1; k < count; ++k) {
    r[0x28 + 2 * k] = r[k * 512 - 2];
    r[0x28 + 2 * k + 1] = r[k * 512 - 1];
    Put16(r, k * 512 - 2, usn);
  }
  return r;
}

TEST(CheckIndexRecord, TypicalRecordPassesAndIsRepaired) {
  Bytes r = IndexRecord(4096, 4096 - 0x18);
  ASSERT_TRUE(CheckIndexRecord(r));
  EXPECT_EQ(r[510], static_cast<std::uint8_t>(510));
  EXPECT_EQ(r[4094], static_cast<std::uint8_t>(4094));
}

TEST(CheckIndexRecord, MismatchBeyondTheIndexLengthIsAccepted) {
  Bytes r = IndexRecord(4096, 1000);
  r[4094] ^= 0xFF;
  EXPECT_TRUE(CheckIndexRecord(r));
  Bytes inside = IndexRecord(4096, 1000);
  inside[1022] ^= 0xFF;  // 1024 <= 1000 + 0x18
  EXPECT_FALSE(CheckIndexRecord(inside));
}

TEST(CheckIndexRecord, HeaderTests) {
  Bytes wrong_count = IndexRecord(4096, 100);
  Put16(wrong_count, 0x06, 2);
  EXPECT_FALSE(CheckIndexRecord(wrong_count));
  Bytes odd_offset = IndexRecord(4096, 100);
  Put16(odd_offset, 0x04, 0x2A);
  EXPECT_FALSE(CheckIndexRecord(odd_offset));
  Bytes magic = IndexRecord(4096, 100);
  magic[0] = 'F';
  EXPECT_FALSE(CheckIndexRecord(magic));
  Bytes too_long = IndexRecord(4096, 4096 - 0x18);
  too_long[0x20] = 0;  // allocated length below the index length
  EXPECT_FALSE(CheckIndexRecord(too_long));
  // An index length reaching past the record is refused, not followed.
  Bytes past = IndexRecord(4096, 100);
  for (int i = 0; i < 4; ++i) past[0x1C + i] = past[0x20 + i] = (i == 1) ? 0x20 : 0;
  EXPECT_FALSE(CheckIndexRecord(past));
  EXPECT_FALSE(CheckIndexRecord({}));
}

TEST(CheckIndexRecord, SmallIndexRecordsOf512Bytes) {
  Bytes r = IndexRecord(512, 512 - 0x18);
  EXPECT_EQ(r[6], 2);
  EXPECT_TRUE(CheckIndexRecord(r));
}

}  // namespace
}  // namespace salvor

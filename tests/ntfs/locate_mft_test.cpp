// Finding the $MFT: at its sector, by searching its first cluster and the
// mirror's, and with its data spread by an attribute list.

#include "ntfs/locate_mft.h"

#include <gtest/gtest.h>

#include "volume_fixture.h"

namespace salvor {
namespace {

using testing::AttributeListEntry;
using testing::Bytes;
using testing::FileNameValue;
using testing::MftRecord;
using testing::NtfsTime;
using testing::RecordBuilder;
using testing::StandardInformation;
using testing::VolumeFixture;

constexpr std::uint64_t kMftLcn = 4;
constexpr std::uint64_t kMirrLcn = 100;

class LocateMftTest : public ::testing::Test {
 protected:
  LocateMftTest() : vol(2048, 256, RunList{}) {
    CurrentVolume& v = vol.state.volume;
    v.mft_lcn = kMftLcn;
    v.mftmirr_lcn = kMirrLcn;
    v.mft_sector = vol.ClusterSectorOf(kMftLcn);
  }
  std::uint64_t MftSector() const { return vol.ClusterSectorOf(kMftLcn); }
  std::uint64_t MirrSector() const { return vol.ClusterSectorOf(kMirrLcn); }

  VolumeFixture vol;
};

// 16 clusters at LCN 4, then 8 at LCN 4 + 0x30.
const Bytes kTwoRuns = {0x11, 0x10, 0x04, 0x11, 0x08, 0x30, 0};

TEST_F(LocateMftTest, RecordAtTheMftSector) {
  vol.PutAtSector(MftSector(), MftRecord(kTwoRuns, 23));
  vol.state.mft_runs = {salvor::Run{1, 1}};  // an earlier volume's list is replaced
  vol.Attach();
  ASSERT_TRUE(LocateMft(vol.state));
  EXPECT_EQ(vol.state.mft_runs, (RunList{salvor::Run{16, 4}, salvor::Run{8, 0x34}}));
  EXPECT_EQ(vol.state.volume.mft_record_count, 24u * 4);
  EXPECT_EQ(vol.state.volume.mft_sector, MftSector());
}

TEST_F(LocateMftTest, DamagedFirstRecordIsFoundInTheMirror) {
  Bytes damaged = MftRecord(kTwoRuns, 23);
  damaged[0] = 'X';
  vol.PutAtSector(MftSector(), damaged);
  vol.PutAtSector(MirrSector(), MftRecord(kTwoRuns, 23));
  vol.Attach();
  ASSERT_TRUE(LocateMft(vol.state));
  EXPECT_EQ(vol.state.volume.mft_sector, MirrSector());
  EXPECT_EQ(vol.state.mft_runs, (RunList{salvor::Run{16, 4}, salvor::Run{8, 0x34}}));
}

TEST_F(LocateMftTest, RecordAFewSectorsIntoTheFirstCluster) {
  vol.state.volume.mft_sector = 0;  // unknown: the buffer stays cleared
  vol.PutAtSector(MftSector() + 3, MftRecord(kTwoRuns, 23));
  vol.Attach();
  ASSERT_TRUE(LocateMft(vol.state));
  EXPECT_EQ(vol.state.volume.mft_sector, MftSector() + 3);
}

TEST_F(LocateMftTest, NothingFoundFails) {
  vol.Attach();
  EXPECT_FALSE(LocateMft(vol.state));
  EXPECT_TRUE(vol.state.mft_runs.empty());
  EXPECT_EQ(vol.state.volume.mft_record_count, 0u);
}

TEST_F(LocateMftTest, MissingGeometryFails) {
  vol.PutAtSector(MftSector(), MftRecord(kTwoRuns, 23));
  vol.Attach();
  vol.state.volume.mft_lcn = 0;
  EXPECT_FALSE(LocateMft(vol.state));
  vol.state.volume.mft_lcn = kMftLcn;
  vol.state.volume.bytes_per_file_record = 0;
  EXPECT_FALSE(LocateMft(vol.state));
}

// The $MFT record with an attribute list naming its two $DATA pieces: VCNs
// 0-15 in record 0 itself and 16-23 in extension record 17.
Bytes MftWithList(const Bytes& list, bool resident_list) {
  const std::uint64_t t = NtfsTime(2020, 1, 1);
  RecordBuilder b;
  b.Flags(1).RecordNumber(0);
  b.Resident(0x10, StandardInformation(t, t, 6, t));
  if (resident_list)
    b.Resident(0x20, list);
  else
    b.NonResident(0x20, Bytes{0x11, 0x01, 0x50}, list.size());  // one cluster at LCN 0x50
  b.Resident(0x30, FileNameValue(5, u"$MFT", 3));
  b.NonResident(0x80, Bytes{0x11, 0x10, 0x04}, 24 * 4096, 0, 15);
  return b.Build();
}

Bytes ListOfPieces() {
  Bytes list;
  for (const Bytes& e : {AttributeListEntry(0x10, 0), AttributeListEntry(0x30, 0),
                         AttributeListEntry(0x80, 0, 0), AttributeListEntry(0x80, 17, 16)})
    list.insert(list.end(), e.begin(), e.end());
  return list;
}

Bytes ExtensionWithPiece() {
  return RecordBuilder()
      .Flags(1)
      .BaseReference(0)
      .RecordNumber(17)
      .NonResident(0x80, Bytes{0x11, 0x08, 0x60}, 24 * 4096, 16, 23)
      .Build();
}

TEST_F(LocateMftTest, DataSpreadByAResidentAttributeList) {
  vol.PutAtSector(MftSector(), MftWithList(ListOfPieces(), true));
  vol.PutAtSector(MftSector() + 17 * 2, ExtensionWithPiece());
  vol.Attach();
  ASSERT_TRUE(LocateMft(vol.state));
  EXPECT_EQ(vol.state.mft_runs, (RunList{salvor::Run{16, 4}, salvor::Run{8, 0x60}}));
  EXPECT_EQ(vol.state.volume.mft_record_count, 24u * 4);
}

TEST_F(LocateMftTest, DataSpreadByANonResidentAttributeList) {
  vol.PutAtSector(MftSector(), MftWithList(ListOfPieces(), false));
  vol.PutAtSector(MftSector() + 17 * 2, ExtensionWithPiece());
  vol.PutCluster(0x50, ListOfPieces());
  vol.Attach();
  ASSERT_TRUE(LocateMft(vol.state));
  EXPECT_EQ(vol.state.mft_runs, (RunList{salvor::Run{16, 4}, salvor::Run{8, 0x60}}));
  EXPECT_EQ(vol.state.volume.mft_record_count, 24u * 4);
}

TEST_F(LocateMftTest, RecordsBiggerThanAClusterAreCounted) {
  // 512-byte clusters (one sector) and 1024-byte records: two clusters a record.
  CurrentVolume& v = vol.state.volume;
  v.sectors_per_cluster = 1;
  v.bytes_per_cluster = 512;
  v.mft_lcn = 64;
  v.mft_sector = v.first_sector + 64;
  vol.PutAtSector(v.mft_sector, MftRecord(Bytes{0x11, 0x40, 0x40}, 63));
  vol.Attach();
  ASSERT_TRUE(LocateMft(vol.state));
  EXPECT_EQ(vol.state.mft_runs, (RunList{salvor::Run{64, 64}}));
  EXPECT_EQ(v.mft_record_count, 32u);
}

}  // namespace
}  // namespace salvor

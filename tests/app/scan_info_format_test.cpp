#include "app/scan_info_format.h"

#include <gtest/gtest.h>

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"

namespace salvor {
namespace {

VolumeInfo Volume(std::uint64_t first) {
  VolumeInfo v;
  v.first_sector = first;
  v.length = 20480;
  v.mft_sector = first + 32;
  v.mft_lcn = 4;
  v.mftmirr_lcn = 1279;
  v.serial = 0x1122334455667788ull + first;
  v.bytes_per_cluster = 4096;
  v.bytes_per_file_record = 1024;
  v.bytes_per_sector = 512;
  v.sectors_per_cluster = 8;
  v.sectors_per_file_record = 2;
  v.sectors_per_index_record = 8;
  return v;
}

DiskScanInfo Disk(std::size_t volumes) {
  DiskScanInfo d;
  d.disk.device_path = u"/srv/images/disk.vk2";
  d.disk.handle = 1;
  d.disk.bytes_per_sector = 512;
  d.disk.total_sectors = 204800;
  for (std::size_t i = 0; i < volumes; ++i) d.volumes.push_back(Volume(63 + i * 30000));
  return d;
}

TreeScanInfo Tree(std::size_t volumes, RunList runs) {
  TreeScanInfo t;
  t.disk = Disk(volumes);
  t.volume = SelectVolume(t.disk.volumes.empty() ? Volume(63) : t.disk.volumes[0], 512);
  t.volume.mft_record_count = 64;
  t.mft_runs = std::move(runs);
  return t;
}

std::vector<std::uint8_t> TreeFile(const TreeScanInfo& t, std::vector<std::uint8_t> tree,
                                   std::vector<std::uint8_t> entries,
                                   std::vector<std::uint8_t> names) {
  ByteWriter w;
  w.Bytes(StoreTreeScanHead(t));
  for (const auto* s : {&tree, &entries, &names}) {
    w.Bytes(SectionHeader(s->size()));
    w.Bytes(*s);
  }
  return w.Take();
}

TEST(DiskScanFile, LayoutAndMoreFollowsMarkers) {
  std::vector<std::uint8_t> two = StoreDiskScanInfo(Disk(2));
  ASSERT_EQ(two.size(), 4u + 542 + 2 * 76);
  EXPECT_EQ((std::vector<std::uint8_t>(two.begin(), two.begin() + 4)),
            (std::vector<std::uint8_t>{0x01, 0x01, 0x00, 0x00}));
  ByteReader r(two);
  EXPECT_EQ(*r.U16(4), u'/');
  EXPECT_EQ(*r.U16(4 + 516), 512u);           // bytes per sector
  EXPECT_EQ(*r.U64(4 + 518), 204800u);        // total sectors
  EXPECT_NE(*r.U32(4 + 534), 0u);             // partitions found: a list follows
  EXPECT_EQ(*r.U64(546 + 8), 63u);            // first volume's first sector
  EXPECT_EQ(*r.U32(546 + 72), 1u);            // more follow
  EXPECT_EQ(*r.U32(546 + 76 + 72), 0u);       // the last
  auto back = LoadDiskScanInfo(two);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->disk.device_path, u"/srv/images/disk.vk2");
  EXPECT_EQ(back->volumes, Disk(2).volumes);
}

TEST(DiskScanFile, OneVolumeIsOneRecordAndNoneIsNoRecord) {
  std::vector<std::uint8_t> one = StoreDiskScanInfo(Disk(1));
  ASSERT_EQ(one.size(), 4u + 542 + 76);
  EXPECT_EQ(*ByteReader(one).U32(546 + 72), 0u);
  std::vector<std::uint8_t> none = StoreDiskScanInfo(Disk(0));
  ASSERT_EQ(none.size(), 4u + 542);
  EXPECT_EQ(*ByteReader(none).U32(4 + 534), 0u);
  auto back = LoadDiskScanInfo(none);
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->volumes.empty());
}

TEST(TreeScanFile, LayoutRoundTripsWithSectionsInOrder) {
  TreeScanInfo t = Tree(2, {{16, 4}, {8, 9000}});
  std::vector<std::uint8_t> tree(256, 0xAA), entries(88, 0xBB), names(12, 0xCC);
  std::vector<std::uint8_t> file = TreeFile(t, tree, entries, names);
  const std::size_t volume_at = 546 + 2 * 76;
  const std::size_t runs_at = volume_at + 74;
  const std::size_t sections_at = runs_at + 2 * 16;
  ASSERT_EQ(file.size(), sections_at + 3 * 12 + 256 + 88 + 12);
  ByteReader r(file);
  EXPECT_EQ(*r.U32(0), 0x01010000u);
  EXPECT_EQ(*r.U64(volume_at), t.volume.length);
  EXPECT_NE(*r.U32(volume_at + 48), 0u);  // a run list follows
  EXPECT_EQ(*r.U32(runs_at), 16u);
  EXPECT_EQ(*r.U64(runs_at + 4), 4u);
  EXPECT_EQ(*r.U32(runs_at + 12), 1u);
  EXPECT_EQ(*r.U32(runs_at + 16 + 12), 0u);
  EXPECT_EQ(*r.U32(sections_at), 0x01010101u);
  EXPECT_EQ(*r.U64(sections_at + 4), 256u);

  auto back = LoadTreeScanInfo(file);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->info.disk.volumes, t.disk.volumes);
  EXPECT_EQ(back->info.volume, t.volume);
  EXPECT_EQ(back->info.mft_runs, t.mft_runs);
  EXPECT_TRUE(std::ranges::equal(back->sections.tree, tree));
  EXPECT_TRUE(std::ranges::equal(back->sections.entries, entries));
  EXPECT_TRUE(std::ranges::equal(back->sections.names, names));
}

TEST(TreeScanFile, NoRunsAndEmptySections) {
  TreeScanInfo t = Tree(0, {});
  std::vector<std::uint8_t> file = TreeFile(t, {}, {}, {});
  EXPECT_EQ(file.size(), 546u + 74 + 3 * 12);
  auto back = LoadTreeScanInfo(file);
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->info.mft_runs.empty());
  EXPECT_TRUE(back->sections.names.empty());
}

TEST(TreeScanFile, RunLongerThan32BitsIsStoredInPieces) {
  TreeScanInfo t = Tree(1, {{0x100000005ull, 1000}});
  auto back = LoadTreeScanInfo(TreeFile(t, {}, {}, {}));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->info.mft_runs, (RunList{{0xFFFFFFFFull, 1000}, {6, 1000 + 0xFFFFFFFFull}}));
}

TEST(TreeScanFile, EveryCutShortFileIsRejected) {
  std::vector<std::uint8_t> file =
      TreeFile(Tree(2, {{16, 4}, {8, 9000}}), std::vector<std::uint8_t>(128, 1), {2, 2}, {3});
  for (std::size_t n = 0; n < file.size(); ++n)
    EXPECT_FALSE(LoadTreeScanInfo(std::span(file).first(n))) << "cut at " << n;
  std::vector<std::uint8_t> vkd = StoreDiskScanInfo(Disk(2));
  for (std::size_t n = 0; n < vkd.size(); ++n)
    EXPECT_FALSE(LoadDiskScanInfo(std::span(vkd).first(n))) << "cut at " << n;
}

TEST(TreeScanFile, DiskFileIsNotAPartitionFileNorTheOtherWayRound) {
  EXPECT_FALSE(LoadTreeScanInfo(StoreDiskScanInfo(Disk(1))));
  EXPECT_FALSE(LoadDiskScanInfo(TreeFile(Tree(1, {}), {}, {}, {})));
}

TEST(TreeScanFile, LengthsAreNeverTrusted) {
  TreeScanInfo t = Tree(1, {});
  std::vector<std::uint8_t> file = TreeFile(t, {}, {}, {});
  const std::size_t first_length = 546 + 76 + 74 + 4;
  auto with_length = [&](std::uint64_t length) {
    std::vector<std::uint8_t> f = file;
    for (int i = 0; i < 8; ++i) f[first_length + i] = static_cast<std::uint8_t>(length >> (8 * i));
    return f;
  };
  EXPECT_TRUE(LoadTreeScanInfo(with_length(0)));
  EXPECT_FALSE(LoadTreeScanInfo(with_length(1)));                  // past the end
  EXPECT_FALSE(LoadTreeScanInfo(with_length(0xFFFFFFFFFFFFFFF0ull)));  // would wrap
  EXPECT_FALSE(LoadTreeScanInfo(with_length(0x100000000ull)));      // high half set
  std::vector<std::uint8_t> bad = file;
  bad[first_length - 1] = 0x00;  // separator 01 01 01 00
  EXPECT_FALSE(LoadTreeScanInfo(bad));
}

TEST(TreeScanFile, ChainThatNeverEndsIsRejected) {
  std::vector<std::uint8_t> vkd = StoreDiskScanInfo(Disk(1));
  vkd[546 + 72] = 1;  // the last volume claims another follows
  const std::vector<std::uint8_t> volume(vkd.begin() + 546, vkd.end());
  for (int i = 0; i < 50; ++i) vkd.insert(vkd.end(), volume.begin(), volume.end());
  EXPECT_FALSE(LoadDiskScanInfo(vkd));

  std::vector<std::uint8_t> vkt = StoreTreeScanHead(Tree(0, {{1, 2}}));
  vkt[vkt.size() - 4] = 1;  // the last run claims another follows
  const std::vector<std::uint8_t> run(vkt.end() - 16, vkt.end());
  for (int i = 0; i < 50; ++i) vkt.insert(vkt.end(), run.begin(), run.end());
  EXPECT_FALSE(LoadTreeScanInfo(vkt));
}

TEST(TreeScanFile, GeometryNoVolumeCouldHaveIsRejected) {
  DiskScanInfo odd = Disk(0);
  odd.disk.bytes_per_sector = 0;
  EXPECT_FALSE(LoadDiskScanInfo(StoreDiskScanInfo(odd)));
  odd.disk.bytes_per_sector = 1536;
  EXPECT_FALSE(LoadDiskScanInfo(StoreDiskScanInfo(odd)));
  TreeScanInfo t = Tree(1, {});
  t.volume.bytes_per_cluster = 0;
  EXPECT_FALSE(LoadTreeScanInfo(TreeFile(t, {}, {}, {})));
}

}  // namespace
}  // namespace salvor

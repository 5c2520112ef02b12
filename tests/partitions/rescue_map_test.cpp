#include "partitions/rescue_map.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/shell.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

std::string Blocks(const RescueMap& map) {
  std::string text;
  for (const MapBlock& block : map.blocks) {
    text += std::to_string(block.pos) + "+" + std::to_string(block.size) +
            static_cast<char>(block.status) + " ";
  }
  return text;
}

TEST(RescueMapTest, MarkingSplitsAndMergesBlocks) {
  RescueMap map = RescueMap::Untried(1000);
  map.Mark(0, 100, MapStatus::kFinished);
  map.Mark(300, 50, MapStatus::kBadSector);
  map.Mark(100, 200, MapStatus::kFinished);  // joins the first block
  EXPECT_EQ(Blocks(map), "0+300+ 300+50- 350+650? ");
  map.Mark(320, 10, MapStatus::kFinished);  // a hole in the bad area
  EXPECT_EQ(Blocks(map), "0+300+ 300+20- 320+10+ 330+20- 350+650? ");
  map.Mark(900, 500, MapStatus::kNonTrimmed);  // cut at the map's end
  EXPECT_EQ(map.size(), 1000u);
  EXPECT_EQ(map.BytesWith(MapStatus::kBadSector), 40u);
  ASSERT_TRUE(map.FirstFrom(310, MapStatus::kBadSector));
  EXPECT_EQ(map.FirstFrom(310, MapStatus::kBadSector)->pos, 310u);
  EXPECT_EQ(map.FirstFrom(340, MapStatus::kNonTried)->size, 550u);
  EXPECT_FALSE(map.FirstFrom(1000, MapStatus::kNonTried));
}

TEST(RescueMapTest, TextRoundTripsAndBadFilesAreRefusedWithTheirLine) {
  RescueMap map = RescueMap::Untried(0x20000);
  map.Mark(0, 0x10000, MapStatus::kFinished);
  map.Mark(0x10000, 0x200, MapStatus::kBadSector);
  map.current_pos = 0x10200;
  map.current_status = '*';
  map.current_pass = 2;
  const auto back = ParseRescueMap(FormatRescueMap(map, "salvor-cli image /dev/sdb out.vk2"));
  ASSERT_TRUE(back);
  EXPECT_EQ(Blocks(*back), Blocks(map));
  EXPECT_EQ(back->current_pos, 0x10200u);
  EXPECT_EQ(back->current_status, '*');
  EXPECT_EQ(back->current_pass, 2);

  std::string error;
  EXPECT_FALSE(ParseRescueMap("0 ?\n0x0 0x10 +\n0x20 0x10 -\n", &error));
  EXPECT_EQ(error, "line 3: blocks leave a gap or overlap");
  EXPECT_FALSE(ParseRescueMap("0 ?\n0x0 0x10 x\n", &error));
  EXPECT_EQ(error, "line 2: bad block line");
  EXPECT_FALSE(ParseRescueMap("# only comments\n", &error));
  EXPECT_FALSE(ParseRescueMap("0 ?\n0x0 0xFFFFFFFFFFFFFFFF +\n0xFFFFFFFFFFFFFFFF 0x2 +\n", &error));
}

// ddrescue's own log tool reads our maps and finds the same bad areas.
TEST(RescueMapTest, DdrescuelogReadsOurMaps) {
  if (!testing::HaveCommand("ddrescuelog")) GTEST_SKIP() << "ddrescuelog is not installed";
  RescueMap map = RescueMap::Untried(1 << 20);
  map.Mark(0, 1 << 20, MapStatus::kFinished);
  map.Mark(4096, 1024, MapStatus::kBadSector);
  map.Mark(65536, 512, MapStatus::kBadSector);
  map.current_status = '+';
  testing::ScratchDir scratch;
  const auto path = scratch.path() / "image.map";
  std::ofstream(path) << FormatRescueMap(map, "test");
  const auto listed = testing::RunCommand("ddrescuelog -b 512 -l- '" + path.string() + "'");
  ASSERT_EQ(listed.status, 0) << listed.output;
  EXPECT_EQ(listed.output, "8\n9\n128\n");
}

}  // namespace
}  // namespace salvor

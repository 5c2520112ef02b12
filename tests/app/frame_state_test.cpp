#include <gtest/gtest.h>

#include "app/frame_state.h"
#include "app/totals_text.h"

namespace salvor {
namespace {

TEST(TotalsText, SwitchesUnitsAtOneMebibyte) {
  EXPECT_EQ(TotalsText({1048576, 3, 2}, false), "  1.000 MB in 3 Files in 2 Folders");
  EXPECT_EQ(TotalsText({1048575, 3, 2}, false), "1023.999 KB in 3 Files in 2 Folders");
  EXPECT_EQ(TotalsText({1073741824, 1, 0}, true), "Marked   1.000 GB in 1 Files in 0 Folders");
  EXPECT_EQ(ClearedTotalsText(), std::string(49, ' '));
}

TEST(FrameState, DriveNumberIsTheWholeNumber) {
  EXPECT_EQ(DriveNumberFromName("NTFS logical drive 12"), 12u);
  EXPECT_EQ(DriveNumberFromName("NTFS logical drive 3"), 3u);
  EXPECT_EQ(DriveNumberFromName("no number"), 0u);
}

TEST(FrameState, ProgressOfAnEmptyTotalIsZero) {
  EXPECT_EQ(ProgressPercent(5, 0), 0);
  EXPECT_EQ(ProgressPercent(999, 1000), 99);
  EXPECT_EQ(ProgressText("Scanning", 42), "Scanning :42%");
}

TEST(FrameState, TurboScanOnceAfterEachWizardUnlessStructuresAreMissing) {
  FrameState s;
  s.tree_ready = s.tree_has_items = true;
  EXPECT_TRUE(CommandEnabled(CommandId::kTurboScan, s));
  s.turbo_scan_done = true;
  EXPECT_FALSE(CommandEnabled(CommandId::kTurboScan, s));
  s.structures_missing = true;
  EXPECT_TRUE(CommandEnabled(CommandId::kTurboScan, s));
  s.process_running = true;
  EXPECT_FALSE(CommandEnabled(CommandId::kTurboScan, s));
  EXPECT_TRUE(CommandEnabled(CommandId::kStopProcess, s));
  s.copy_dialog_open = true;
  EXPECT_FALSE(CommandEnabled(CommandId::kStopProcess, s));
}

}  // namespace
}  // namespace salvor

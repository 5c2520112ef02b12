#include "disk/serial_number.h"

#include <gtest/gtest.h>

namespace salvor {
namespace {

TEST(DecodeSerialNumber, SwapsWordsAndKeepsDigitsAndCapitals) {
  // 3456789A -> 56349A78: 0x56 'V', 0x34 '4', 0x9A dropped, 0x78 'x' dropped.
  EXPECT_EQ(DecodeSerialNumber("3456789A"), "V4");
}

TEST(DecodeSerialNumber, ReadsAWholeDriveSerial) {
  // "WD-WCAV123" as the drive reports it, each word's two bytes swapped
  // ("DW" "W-" "AC" "1V" "32"); the dash is dropped.
  EXPECT_EQ(DecodeSerialNumber("4457572D414331563332"), "WDWCAV123");
}

TEST(DecodeSerialNumber, TrimsPaddingCharactersFromBothEnds) {
  // "2020" + "4142" swapped to "4241" + an unswapped "5F": the leading
  // padding is trimmed, then 'B' 'A' are kept and '_' (0x5F) is dropped.
  EXPECT_EQ(DecodeSerialNumber("202041425F"), "BA");
}

TEST(DecodeSerialNumber, NonHexDigitsCountAsZeroAndALoneDigitIsPairedWithZero) {
  // "4G": 'G' reads as 0 -> 0x40 '@' dropped. "5" alone -> 0x50 'P'.
  EXPECT_EQ(DecodeSerialNumber("4G"), "");
  EXPECT_EQ(DecodeSerialNumber("5"), "P");
  // An incomplete last word is not swapped: "4142" + "43" -> "4241" + "43".
  EXPECT_EQ(DecodeSerialNumber("414243"), "BAC");
}

TEST(DecodeSerialNumber, NothingLeftAfterTrimmingIsEmpty) {
  EXPECT_EQ(DecodeSerialNumber(""), "");
  EXPECT_EQ(DecodeSerialNumber("2020"), "");
}

}  // namespace
}  // namespace salvor

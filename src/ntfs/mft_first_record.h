#pragma once
// Recognising the $MFT's own record (record 0) and the $MFTMirr's record,
// used when the $MFT has to be found by searching.

#include <cstdint>
#include <span>

namespace salvor {

// True when `record` passes CheckFileRecord (which repairs it in place), its
// $STANDARD_INFORMATION times are all equal, and it carries the name "$MFT".
bool IsMftRecord(std::span<std::uint8_t> record);
// The same for the name "$MFTMirr".
bool IsMftMirrRecord(std::span<std::uint8_t> record);

}  // namespace salvor

#pragma once
// Drive serial numbers as some device identifiers carry them: hexadecimal
// text of the bytes the drive reports, whose 16-bit words are byte-swapped.

#include <string>
#include <string_view>

namespace salvor {

// Swaps the bytes of each complete 4-digit word, trims "20&._" from both
// ends, reads hex byte pairs (a non-hex digit counts as 0, a last lone digit
// is paired with 0) and keeps the bytes that are 0-9 or A-Z.
std::string DecodeSerialNumber(std::string_view text);

}  // namespace salvor

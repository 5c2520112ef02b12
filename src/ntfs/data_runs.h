#pragma once
// NTFS run lists: the packed form of where a non-resident attribute's
// clusters lie, decoded into Runs with absolute LCNs.
//
// Packed form, one run after another, a header byte 0 ends the list:
//   byte 0        low nibble L = width of the length field, high nibble O =
//                 width of the offset field
//   1 .. L        run length in clusters, unsigned little-endian
//   L+1 .. L+O    LCN delta from the previous run, signed little-endian;
//                 O = 0 marks a sparse run

#include <cstddef>
#include <cstdint>
#include <span>

#include "ntfs/run.h"

namespace salvor {

// Widest fields a Run can hold: longer ones only come from damaged records.
inline constexpr unsigned kMaxRunLengthBytes = 4;
inline constexpr unsigned kMaxRunOffsetBytes = 8;

// Appends the runs of the run list found at `run_list_offset` inside
// `attribute` (the attribute's own bytes, header to declared end) to `list`.
// The LCN arithmetic starts from 0 on every call, also when appending.
// Decoding stops, keeping what came before, at the end byte, at a field wider
// than a Run holds, or where a run would reach past the attribute.
// Returns the number of runs appended.
std::size_t DecodeRuns(std::span<const std::uint8_t> attribute, std::size_t run_list_offset,
                       RunList& list);

// base ** exponent in 32-bit integers (wrapping); a negative exponent gives
// 1 / base ** -exponent (integer division, 0 when that divides by 0).
std::int32_t Power(std::int32_t base, std::int32_t exponent);

// Clusters in one compression unit: 2 ** the attribute's compression unit field.
std::uint32_t CompressionUnitClusters(std::uint16_t compression_unit_field);

}  // namespace salvor

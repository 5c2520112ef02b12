#pragma once
// The map of an image copy's progress, kept beside the image so that a
// stopped or failed copy can be resumed and the unreadable areas are known.
// The text form is the mapfile of GNU ddrescue, so its users' tools
// (ddrescuelog, ddrescueview) read ours:
//
//   # comment lines
//   0x00000000     ?               1        <- current position, status, pass
//   0x00000000  0x00010000  +               <- one line per block, in order
//
// Block status: '?' not tried, '*' failed and not trimmed, '/' failed and not
// scraped, '-' bad sector, '+' finished. Positions and sizes are in bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace salvor {

enum class MapStatus : char {
  kNonTried = '?',
  kNonTrimmed = '*',
  kNonScraped = '/',
  kBadSector = '-',
  kFinished = '+',
};

struct MapBlock {
  std::uint64_t pos = 0;
  std::uint64_t size = 0;
  MapStatus status = MapStatus::kNonTried;
  std::uint64_t end() const { return pos + size; }
};

struct RescueMap {
  std::uint64_t current_pos = 0;
  char current_status = '?';  // the phase: '?' copying, '*' trimming, '/' scraping, '+' done
  int current_pass = 1;
  std::vector<MapBlock> blocks;  // in order, without gaps, neighbours of one status merged

  // A map of `size` bytes not yet tried.
  static RescueMap Untried(std::uint64_t size);
  std::uint64_t size() const { return blocks.empty() ? 0 : blocks.back().end(); }
  // Gives [pos, pos + length) the status, splitting and merging blocks; the
  // part beyond the map's end is ignored.
  void Mark(std::uint64_t pos, std::uint64_t length, MapStatus status);
  // The first block at or after `from` with the status, if any.
  std::optional<MapBlock> FirstFrom(std::uint64_t from, MapStatus status) const;
  std::uint64_t BytesWith(MapStatus status) const;
};

// The mapfile text; `command` goes into the header comment.
std::string FormatRescueMap(const RescueMap& map, std::string_view command);

// Reads a mapfile. Blocks must follow each other without gaps or overlaps and
// start at 0; otherwise (or on any malformed line) nullopt, with the line
// number and the fault in `error`.
std::optional<RescueMap> ParseRescueMap(std::string_view text, std::string* error = nullptr);

}  // namespace salvor

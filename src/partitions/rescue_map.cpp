#include "partitions/rescue_map.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace salvor {
namespace {

bool IsBlockStatus(char c) {
  return c == '?' || c == '*' || c == '/' || c == '-' || c == '+';
}

void MergeNeighbours(std::vector<MapBlock>& blocks) {
  std::vector<MapBlock> merged;
  for (const MapBlock& block : blocks) {
    if (block.size == 0) continue;
    if (!merged.empty() && merged.back().status == block.status) {
      merged.back().size += block.size;
    } else {
      merged.push_back(block);
    }
  }
  blocks = std::move(merged);
}

// Splits the line into whitespace-separated words.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// ddrescue writes hexadecimal with "0x"; it also reads decimal.
std::optional<std::uint64_t> Number(std::string_view word) {
  int base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    word.remove_prefix(2);
    base = 16;
  }
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

RescueMap RescueMap::Untried(std::uint64_t size) {
  RescueMap map;
  if (size > 0) map.blocks.push_back({0, size, MapStatus::kNonTried});
  return map;
}

void RescueMap::Mark(std::uint64_t pos, std::uint64_t length, MapStatus status) {
  const std::uint64_t limit = size();
  if (pos >= limit || length == 0) return;
  const std::uint64_t end = pos + std::min(length, limit - pos);
  std::vector<MapBlock> result;
  result.reserve(blocks.size() + 2);
  for (const MapBlock& block : blocks) {
    if (block.end() <= pos || block.pos >= end) {
      result.push_back(block);
      continue;
    }
    if (block.pos < pos) result.push_back({block.pos, pos - block.pos, block.status});
    const std::uint64_t from = std::max(block.pos, pos);
    const std::uint64_t to = std::min(block.end(), end);
    result.push_back({from, to - from, status});
    if (block.end() > end) result.push_back({end, block.end() - end, block.status});
  }
  MergeNeighbours(result);
  blocks = std::move(result);
}

std::optional<MapBlock> RescueMap::FirstFrom(std::uint64_t from, MapStatus status) const {
  for (const MapBlock& block : blocks) {
    if (block.end() <= from || block.status != status) continue;
    const std::uint64_t start = std::max(block.pos, from);
    return MapBlock{start, block.end() - start, status};
  }
  return std::nullopt;
}

std::uint64_t RescueMap::BytesWith(MapStatus status) const {
  std::uint64_t bytes = 0;
  for (const MapBlock& block : blocks) {
    if (block.status == status) bytes += block.size;
  }
  return bytes;
}

std::string FormatRescueMap(const RescueMap& map, std::string_view command) {
  std::string text = "# Mapfile. Created by salvor-cli\n# Command line: ";
  text.append(command);
  text += "\n# current_pos  current_status  current_pass\n";
  text += Hex(map.current_pos) + "     " + map.current_status + "               " +
          std::to_string(map.current_pass) + "\n";
  text += "#      pos        size  status\n";
  for (const MapBlock& block : map.blocks) {
    text += Hex(block.pos) + "  " + Hex(block.size) + "  " + static_cast<char>(block.status) + "\n";
  }
  return text;
}

std::optional<RescueMap> ParseRescueMap(std::string_view text, std::string* error) {
  RescueMap map;
  bool have_status_line = false;
  std::size_t line_number = 0;
  const auto fail = [&](const std::string& why) -> std::optional<RescueMap> {
    if (error != nullptr) *error = "line " + std::to_string(line_number) + ": " + why;
    return std::nullopt;
  };
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    const std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    ++line_number;
    const auto words = Words(line);
    if (words.empty() || words[0].front() == '#') continue;
    if (!have_status_line) {
      // The pass is missing in mapfiles of older ddrescue versions.
      if (words.size() < 2 || words.size() > 3 || words[1].size() != 1) return fail("bad status line");
      const auto pos = Number(words[0]);
      if (!pos) return fail("bad current position");
      map.current_pos = *pos;
      map.current_status = words[1][0];
      if (words.size() == 3) {
        const auto pass = Number(words[2]);
        if (!pass || *pass > 1000) return fail("bad pass");
        map.current_pass = static_cast<int>(*pass);
      }
      have_status_line = true;
      continue;
    }
    if (words.size() != 3 || words[2].size() != 1 || !IsBlockStatus(words[2][0])) {
      return fail("bad block line");
    }
    const auto pos = Number(words[0]);
    const auto size = Number(words[1]);
    if (!pos || !size || *size == 0) return fail("bad block position or size");
    if (*pos != map.size()) return fail("blocks leave a gap or overlap");
    if (*size > UINT64_MAX - *pos) return fail("block runs past the largest position");
    map.blocks.push_back({*pos, *size, static_cast<MapStatus>(words[2][0])});
  }
  if (!have_status_line) {
    line_number = 0;
    return fail("no status line");
  }
  MergeNeighbours(map.blocks);
  return map;
}

}  // namespace salvor

#include "carver/deflate_huffman.h"

#include <algorithm>
#include <array>
#include <vector>

namespace salvor::carver::deflate {
namespace {

// A node of package-merge: a leaf (a used symbol) or a package of two items
// of the list below. Leaves are nodes 0 .. n-1.
struct Node {
  std::uint64_t weight;
  std::int32_t left;  // -1 for a leaf
  std::int32_t right;
};

std::uint16_t Reverse(std::uint16_t code, int bits) {
  std::uint16_t r = 0;
  for (int i = 0; i < bits; ++i) {
    r = static_cast<std::uint16_t>((r << 1) | (code & 1));
    code >>= 1;
  }
  return r;
}

}  // namespace

void LimitedCodeLengths(std::span<const std::uint32_t> freqs, int max_bits,
                        std::span<std::uint8_t> lengths) {
  std::fill(lengths.begin(), lengths.end(), std::uint8_t{0});
  std::vector<std::uint16_t> symbols;
  symbols.reserve(freqs.size());
  for (std::size_t s = 0; s < freqs.size(); ++s)
    if (freqs[s] != 0) symbols.push_back(static_cast<std::uint16_t>(s));
  const std::size_t n = symbols.size();
  if (n == 0) return;
  if (n == 1) {
    lengths[symbols[0]] = 1;
    return;
  }
  std::stable_sort(symbols.begin(), symbols.end(),
                   [&](std::uint16_t a, std::uint16_t b) { return freqs[a] < freqs[b]; });

  // Package-merge (coin collector): each of the max_bits lists holds the
  // leaves merged with the pairs of the list below; the first 2n-2 items of
  // the top list are the cheapest choice, and a symbol's code length is how
  // many of them contain its leaf. Only the first 2n-2 items of any list can
  // ever be chosen, so the lists are cut there.
  const std::size_t keep = 2 * n - 2;
  std::vector<Node> nodes;
  nodes.reserve(n + static_cast<std::size_t>(max_bits) * n);
  for (std::uint16_t s : symbols) nodes.push_back({freqs[s], -1, -1});

  std::vector<std::int32_t> list(n), next;
  for (std::size_t i = 0; i < n; ++i) list[i] = static_cast<std::int32_t>(i);
  list.resize(std::min(list.size(), keep));
  for (int level = 1; level < max_bits; ++level) {
    next.clear();
    std::size_t leaf = 0, pair = 0;
    const std::size_t pairs = list.size() / 2;
    while (next.size() < keep && (leaf < n || pair < pairs)) {
      std::uint64_t pair_weight = 0;
      if (pair < pairs)
        pair_weight = nodes[static_cast<std::size_t>(list[2 * pair])].weight +
                      nodes[static_cast<std::size_t>(list[2 * pair + 1])].weight;
      if (leaf < n && (pair >= pairs || nodes[leaf].weight <= pair_weight)) {
        next.push_back(static_cast<std::int32_t>(leaf++));
      } else {
        nodes.push_back({pair_weight, list[2 * pair], list[2 * pair + 1]});
        next.push_back(static_cast<std::int32_t>(nodes.size() - 1));
        ++pair;
      }
    }
    list.swap(next);
  }

  std::vector<std::int32_t> stack(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(keep));
  while (!stack.empty()) {
    const Node& node = nodes[static_cast<std::size_t>(stack.back())];
    const std::int32_t index = stack.back();
    stack.pop_back();
    if (node.left < 0) {
      ++lengths[symbols[static_cast<std::size_t>(index)]];
    } else {
      stack.push_back(node.left);
      stack.push_back(node.right);
    }
  }
}

void CanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
  std::array<std::uint16_t, 16> count{};
  for (std::uint8_t len : lengths) ++count[len];
  count[0] = 0;
  std::array<std::uint16_t, 16> next{};
  std::uint16_t code = 0;
  for (int bits = 1; bits < 16; ++bits) {
    code = static_cast<std::uint16_t>((code + count[bits - 1]) << 1);
    next[bits] = code;
  }
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    const int len = lengths[s];
    codes[s] = len == 0 ? 0 : Reverse(next[len]++, len);
  }
}

}  // namespace salvor::carver::deflate

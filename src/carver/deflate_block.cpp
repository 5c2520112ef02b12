#include "carver/deflate_block.h"

#include <algorithm>

#include "carver/deflate_huffman.h"

namespace salvor::carver::deflate {
namespace {

constexpr std::size_t kMaxStored = 65535;

struct Code {
  std::span<const std::uint8_t> litlen_lengths;
  std::span<const std::uint8_t> dist_lengths;
  std::array<std::uint16_t, 288> litlen_codes{};
  std::array<std::uint16_t, 32> dist_codes{};
};

// Code-length symbols of a dynamic header: 0-15 a length, 16 repeat the
// previous 3-6 times, 17 zeros 3-10 times, 18 zeros 11-138 times.
struct LengthSymbol {
  std::uint8_t symbol;
  std::uint8_t extra;
};

struct DynamicHeader {
  std::array<std::uint8_t, kLitLenCodes> litlen_lengths{};
  std::array<std::uint8_t, kDistCodes> dist_lengths{};
  int hlit = 257;
  int hdist = 1;
  int hclen = 4;
  std::vector<LengthSymbol> length_symbols;
  std::array<std::uint8_t, kCodeLenCodes> cl_lengths{};
  std::array<std::uint16_t, kCodeLenCodes> cl_codes{};
  std::uint64_t header_bits = 0;
};

constexpr int ExtraBitsOf(int cl_symbol) {
  return cl_symbol == 16 ? 2 : cl_symbol == 17 ? 3 : cl_symbol == 18 ? 7 : 0;
}

// Frequencies with at least two used symbols, so every code is complete
// (some inflaters reject a one-symbol code).
template <std::size_t N>
std::array<std::uint32_t, N> AtLeastTwoUsed(const std::array<std::uint32_t, N>& freq) {
  std::array<std::uint32_t, N> f = freq;
  int used = static_cast<int>(std::count_if(f.begin(), f.end(), [](std::uint32_t v) { return v != 0; }));
  for (std::size_t i = 0; i < N && used < 2; ++i)
    if (f[i] == 0) {
      f[i] = 1;
      ++used;
    }
  return f;
}

void RunLengthCode(std::span<const std::uint8_t> lengths, std::vector<LengthSymbol>& out) {
  out.clear();
  std::size_t i = 0;
  while (i < lengths.size()) {
    const std::uint8_t len = lengths[i];
    std::size_t run = 1;
    while (i + run < lengths.size() && lengths[i + run] == len) ++run;
    i += run;
    if (len == 0) {
      while (run >= 11) {
        const std::size_t r = std::min<std::size_t>(run, 138);
        out.push_back({18, static_cast<std::uint8_t>(r - 11)});
        run -= r;
      }
      if (run >= 3) {
        out.push_back({17, static_cast<std::uint8_t>(run - 3)});
        run = 0;
      }
    } else {
      out.push_back({len, 0});
      --run;
      while (run >= 3) {
        const std::size_t r = std::min<std::size_t>(run, 6);
        out.push_back({16, static_cast<std::uint8_t>(r - 3)});
        run -= r;
      }
    }
    for (; run > 0; --run) out.push_back({len, 0});
  }
}

void BuildDynamic(const BlockSymbols& block, DynamicHeader& h) {
  std::array<std::uint32_t, kLitLenCodes> litlen = block.litlen_freq;
  litlen[kEndOfBlock] = 1;
  LimitedCodeLengths(AtLeastTwoUsed(litlen), kMaxCodeBits, h.litlen_lengths);
  LimitedCodeLengths(AtLeastTwoUsed(block.dist_freq), kMaxCodeBits, h.dist_lengths);

  h.hlit = kLitLenCodes;
  while (h.hlit > 257 && h.litlen_lengths[static_cast<std::size_t>(h.hlit - 1)] == 0) --h.hlit;
  h.hdist = kDistCodes;
  while (h.hdist > 1 && h.dist_lengths[static_cast<std::size_t>(h.hdist - 1)] == 0) --h.hdist;

  // Literal/length and distance lengths form one sequence for run-length coding.
  std::array<std::uint8_t, kLitLenCodes + kDistCodes> all{};
  std::copy_n(h.litlen_lengths.begin(), h.hlit, all.begin());
  std::copy_n(h.dist_lengths.begin(), h.hdist, all.begin() + h.hlit);
  RunLengthCode(std::span(all).first(static_cast<std::size_t>(h.hlit + h.hdist)), h.length_symbols);

  std::array<std::uint32_t, kCodeLenCodes> cl_freq{};
  for (const LengthSymbol& s : h.length_symbols) ++cl_freq[s.symbol];
  LimitedCodeLengths(AtLeastTwoUsed(cl_freq), kMaxCodeLenBits, h.cl_lengths);
  CanonicalCodes(h.cl_lengths, h.cl_codes);
  h.hclen = kCodeLenCodes;
  while (h.hclen > 4 && h.cl_lengths[kCodeLenOrder[static_cast<std::size_t>(h.hclen - 1)]] == 0)
    --h.hclen;

  std::uint64_t bits = 3 + 5 + 5 + 4 + 3 * static_cast<std::uint64_t>(h.hclen);
  for (const LengthSymbol& s : h.length_symbols) bits += h.cl_lengths[s.symbol] + ExtraBitsOf(s.symbol);
  h.header_bits = bits;
}

// Bits of the block's symbols (end-of-block included) under the given lengths.
std::uint64_t SymbolBits(const BlockSymbols& block, std::span<const std::uint8_t> litlen_lengths,
                         std::span<const std::uint8_t> dist_lengths) {
  std::uint64_t bits = litlen_lengths[kEndOfBlock];
  for (std::size_t s = 0; s < kLitLenCodes; ++s) {
    if (s == kEndOfBlock) continue;
    std::uint64_t per = litlen_lengths[s];
    if (s > kEndOfBlock) per += kLengthExtra[s - 257];
    bits += block.litlen_freq[s] * per;
  }
  for (std::size_t d = 0; d < kDistCodes; ++d)
    bits += block.dist_freq[d] * static_cast<std::uint64_t>(dist_lengths[d] + kDistExtra[d]);
  return bits;
}

std::uint64_t StoredBits(std::size_t raw_size, std::uint64_t bit_pos) {
  std::uint64_t pos = bit_pos;
  std::size_t left = raw_size;
  do {
    const std::size_t piece = std::min(left, kMaxStored);
    pos = (pos + 3 + 7) & ~std::uint64_t{7};
    pos += 32 + 8 * std::uint64_t{piece};
    left -= piece;
  } while (left > 0);
  return pos - bit_pos;
}

void WriteStored(BitWriter& w, RawBytes raw, bool last) {
  std::size_t left = raw.size();
  std::size_t offset = 0;  // into the concatenation first + second
  do {
    const std::size_t piece = std::min(left, kMaxStored);
    left -= piece;
    w.Reserve(8);
    w.Put((left == 0 && last) ? 1u : 0u, 3);  // BTYPE 00
    w.AlignToByte();
    w.Reserve(4);
    w.Put(static_cast<std::uint32_t>(piece) | (static_cast<std::uint32_t>(~piece & 0xFFFF) << 16), 32);
    std::size_t todo = piece;
    while (todo > 0) {
      const bool in_first = offset < raw.first.size();
      const std::span<const std::uint8_t> part =
          in_first ? raw.first.subspan(offset) : raw.second.subspan(offset - raw.first.size());
      const std::size_t n = std::min(todo, part.size());
      w.Bytes(part.data(), n);
      offset += n;
      todo -= n;
    }
  } while (left > 0);
}

void WriteSymbols(BitWriter& w, const BlockSymbols& block, const Code& code) {
  // A symbol takes at most 15 + 5 + 15 + 13 bits.
  w.Reserve(block.count * 6 + 8);
  for (std::size_t i = 0; i < block.count; ++i) {
    const std::uint32_t s = block.symbols[i];
    const std::uint32_t distance = s >> 8;
    if (distance == 0) {
      w.Put(code.litlen_codes[s], code.litlen_lengths[s]);
      continue;
    }
    const std::uint32_t lc = s & 0xFF;
    const int lcode = kLengthCode[lc];
    const std::size_t lsym = 257u + static_cast<std::size_t>(lcode);
    const int lbits = code.litlen_lengths[lsym];
    w.Put(code.litlen_codes[lsym] | ((lc + kMinMatch - kLengthBase[static_cast<std::size_t>(lcode)]) << lbits),
          lbits + kLengthExtra[static_cast<std::size_t>(lcode)]);
    const auto dcode = static_cast<std::size_t>(DistCode(distance));
    const int dbits = code.dist_lengths[dcode];
    w.Put(code.dist_codes[dcode] | ((distance - kDistBase[dcode]) << dbits), dbits + kDistExtra[dcode]);
  }
  w.Put(code.litlen_codes[kEndOfBlock], code.litlen_lengths[kEndOfBlock]);
}

void WriteDynamicHeader(BitWriter& w, const DynamicHeader& h, bool last) {
  w.Reserve(h.header_bits / 8 + 16);
  w.Put((last ? 1u : 0u) | (2u << 1), 3);
  w.Put(static_cast<std::uint32_t>(h.hlit - 257), 5);
  w.Put(static_cast<std::uint32_t>(h.hdist - 1), 5);
  w.Put(static_cast<std::uint32_t>(h.hclen - 4), 4);
  for (int i = 0; i < h.hclen; ++i) w.Put(h.cl_lengths[kCodeLenOrder[static_cast<std::size_t>(i)]], 3);
  for (const LengthSymbol& s : h.length_symbols) {
    w.Put(h.cl_codes[s.symbol], h.cl_lengths[s.symbol]);
    if (const int extra = ExtraBitsOf(s.symbol); extra != 0) w.Put(s.extra, extra);
  }
}

const Code& FixedCode() {
  static const Code code = [] {
    Code c;
    c.litlen_lengths = kFixedLitLenLengths;
    c.dist_lengths = kFixedDistLengths;
    CanonicalCodes(kFixedLitLenLengths, c.litlen_codes);
    CanonicalCodes(kFixedDistLengths, c.dist_codes);
    return c;
  }();
  return code;
}

}  // namespace

bool WriteBlock(BitWriter& writer, const BlockSymbols& block, RawBytes raw, bool last) {
  DynamicHeader dyn;
  BuildDynamic(block, dyn);
  const std::uint64_t start = writer.BitCount();
  const std::uint64_t dynamic_bits = dyn.header_bits + SymbolBits(block, dyn.litlen_lengths, dyn.dist_lengths);
  const std::uint64_t fixed_bits = 3 + SymbolBits(block, kFixedLitLenLengths, kFixedDistLengths);
  const std::uint64_t stored_bits = StoredBits(raw.size(), start);

  std::uint64_t expected = 0;
  if (stored_bits <= fixed_bits && stored_bits <= dynamic_bits) {
    expected = stored_bits;
    WriteStored(writer, raw, last);
  } else if (fixed_bits <= dynamic_bits) {
    expected = fixed_bits;
    writer.Reserve(1);
    writer.Put((last ? 1u : 0u) | (1u << 1), 3);
    WriteSymbols(writer, block, FixedCode());
  } else {
    expected = dynamic_bits;
    WriteDynamicHeader(writer, dyn, last);
    Code code;
    code.litlen_lengths = dyn.litlen_lengths;
    code.dist_lengths = dyn.dist_lengths;
    CanonicalCodes(dyn.litlen_lengths, std::span(code.litlen_codes).first(kLitLenCodes));
    CanonicalCodes(dyn.dist_lengths, std::span(code.dist_codes).first(kDistCodes));
    WriteSymbols(writer, block, code);
  }
  return writer.BitCount() - start == expected;
}

}  // namespace salvor::carver::deflate

// Our Deflate against zlib at the same level, file by file as the ZIP writer
// compresses them. The corpus is every file below $SALVOR_DEFLATE_CORPUS
// (bench/deflate-vs-zlib builds a mixed one); without it a small synthetic
// corpus is used. Counters: input and output bytes, output/input ratio.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "carver/deflate.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<Bytes> LoadCorpus() {
  std::vector<Bytes> files;
  if (const char* dir = std::getenv("SALVOR_DEFLATE_CORPUS"); dir != nullptr && *dir != 0) {
    std::vector<std::filesystem::path> paths;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
      if (e.is_regular_file()) paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (const auto& p : paths) {
      std::ifstream in(p, std::ios::binary);
      files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
  }
  std::mt19937 rng(1);
  static const char* kWords[] = {"int ", "return ", "the ", "sector ", "(x, y);\n", "record ",
                                 "cluster ", "0x7F ", "{\n", "}\n", "volume ", "  "};
  for (int f = 0; f < 16; ++f) {
    Bytes b;
    while (b.size() < 400000) {
      const std::string w = kWords[rng() % std::size(kWords)];
      b.insert(b.end(), w.begin(), w.end());
    }
    files.push_back(std::move(b));
  }
  Bytes noise(2 << 20);
  for (auto& c : noise) c = static_cast<std::uint8_t>(rng());
  files.push_back(std::move(noise));
  return files;
}

const std::vector<Bytes>& Corpus() {
  static const std::vector<Bytes> corpus = LoadCorpus();
  return corpus;
}

std::size_t ZlibDeflate(const Bytes& in, int level, Bytes& out) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  out.resize(deflateBound(&z, static_cast<uLong>(in.size())));
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  const std::size_t n = z.total_out;
  deflateEnd(&z);
  return n;
}

void Report(benchmark::State& state, std::uint64_t in, std::uint64_t out) {
  state.SetBytesProcessed(static_cast<std::int64_t>(in) * state.iterations());
  state.counters["in_bytes"] = static_cast<double>(in);
  state.counters["out_bytes"] = static_cast<double>(out);
  state.counters["ratio"] = static_cast<double>(out) / static_cast<double>(in);
}

void BM_SalvorDeflate(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  const auto& corpus = Corpus();
  salvor::carver::DeflateStream stream;
  Bytes out;
  std::uint64_t in_total = 0, out_total = 0;
  for (auto _ : state) {
    in_total = out_total = 0;
    for (const Bytes& file : corpus) {
      out.clear();
      salvor::carver::DeflateStart(stream, level);
      if (!salvor::carver::DeflateWrite(stream, file, true, out).ok) state.SkipWithError("deflate failed");
      in_total += file.size();
      out_total += out.size();
    }
    benchmark::DoNotOptimize(out.data());
  }
  Report(state, in_total, out_total);
}

void BM_ZlibDeflate(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  const auto& corpus = Corpus();
  Bytes out;
  std::uint64_t in_total = 0, out_total = 0;
  for (auto _ : state) {
    in_total = out_total = 0;
    for (const Bytes& file : corpus) {
      in_total += file.size();
      out_total += ZlibDeflate(file, level, out);
    }
    benchmark::DoNotOptimize(out.data());
  }
  Report(state, in_total, out_total);
}

BENCHMARK(BM_SalvorDeflate)->Arg(1)->Arg(6)->Arg(8)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate)->Arg(1)->Arg(6)->Arg(8)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace

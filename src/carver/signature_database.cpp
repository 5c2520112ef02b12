#include "carver/signature_database.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

#include "carver/texts.h"
#include "disk/program_data.h"

namespace salvor::carver {

std::optional<SignatureList> ReadSignatureDatabase(std::span<const std::uint8_t> bytes) {
  SignatureList list;
  std::size_t pos = 0;
  for (;;) {
    std::array<std::uint8_t, kSignatureRecordSize> record{};
    std::size_t n = std::min(kSignatureRecordSize, bytes.size() - pos);
    if (n == 0 && list.empty()) return std::nullopt;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), n, record.begin());
    pos += n;
    list.push_back(*ParseSignatureRecord(record));
    if (list.back().link == 0) break;
  }
  return list;
}

std::filesystem::path SignatureFilePath(const std::filesystem::path& program_dir) {
  return ProgramDataPath(program_dir, text::kSignatureFileName);
}

std::optional<SignatureList> LoadSignatureFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return ReadSignatureDatabase(bytes);
}

std::vector<std::uint8_t> StoreSignatureDatabase(const SignatureList& list) {
  std::vector<std::uint8_t> out;
  out.reserve(list.size() * kSignatureRecordSize);
  for (std::size_t i = 0; i < list.size(); ++i) {
    SignatureRecord rec = list[i];
    rec.link = i + 1 < list.size() ? 1 : 0;
    auto stored = StoreSignatureRecord(rec);
    out.insert(out.end(), stored.begin(), stored.end());
  }
  return out;
}

SignatureList KeepSelected(const SignatureList& list, std::uint64_t maximum_bytes) {
  const auto maximum = static_cast<std::uint32_t>(std::min<std::uint64_t>(maximum_bytes, 0xFFFFFFFFu));
  SignatureList kept;
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (it->selected == 0) continue;
    kept.push_back(*it);
    kept.back().maximum_length = maximum;
  }
  return kept;
}

}  // namespace salvor::carver

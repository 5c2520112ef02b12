#include "disk/serial_number.h"

#include <utility>

namespace salvor {
namespace {

unsigned HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return 0;
}

}  // namespace

std::string DecodeSerialNumber(std::string_view text) {
  std::string t(text);
  for (std::size_t i = 0; i + 4 <= t.size(); i += 4) {
    std::swap(t[i], t[i + 2]);
    std::swap(t[i + 1], t[i + 3]);
  }
  constexpr std::string_view kTrim = "20&._";
  std::size_t first = t.find_first_not_of(kTrim);
  if (first == std::string::npos) return {};
  std::size_t last = t.find_last_not_of(kTrim);
  std::string_view hex = std::string_view(t).substr(first, last - first + 1);

  std::string serial;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    unsigned high = HexDigit(hex[i]);
    unsigned low = i + 1 < hex.size() ? HexDigit(hex[i + 1]) : 0;
    char c = static_cast<char>(high * 16 + low);
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) serial.push_back(c);
  }
  return serial;
}

}  // namespace salvor

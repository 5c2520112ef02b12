#pragma once
// The string table's texts as Qt strings.

#include <QString>
#include <string_view>

inline QString UiText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

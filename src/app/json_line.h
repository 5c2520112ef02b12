#pragma once
// One JSON object per line (JSON Lines), built field by field: the command
// line's --json output and the recovery report share it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace salvor {

class JsonLine {
 public:
  JsonLine& Field(std::string_view key, std::string_view value);
  JsonLine& Field(std::string_view key, const char* value) { return Field(key, std::string_view(value)); }
  JsonLine& Field(std::string_view key, std::uint64_t value);
  JsonLine& Field(std::string_view key, bool value);
  JsonLine& Null(std::string_view key);
  JsonLine& FieldOrNull(std::string_view key, const std::optional<std::string>& value) {
    return value ? Field(key, std::string_view(*value)) : Null(key);
  }
  // The finished object, without the line break.
  std::string str() const { return text_ + "}"; }

 private:
  void Key(std::string_view key);
  std::string text_ = "{";
};

std::string JsonQuote(std::string_view text);

}  // namespace salvor

#pragma once
// Text the engines and front ends build: printf-style formatting of the
// string tables' formats, the platform's text for an error code, UTF-8 /
// UTF-16 conversion of names, and the fields of a DOS date.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace salvor {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The platform's text for an errno value.
std::string ErrorText(int code);

// Malformed input becomes U+FFFD, never an error: names come from damaged disks.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// A DOS date's fields (day bits 0-4, month bits 5-8, year - 1980 bits 9-15).
struct DosDate {
  unsigned year = 0;
  unsigned month = 0;
  unsigned day = 0;
};
// nullopt for a date that was never set (0) or whose month or day cannot be one.
std::optional<DosDate> DecodeDosDate(std::uint16_t dos);

}  // namespace salvor

#pragma once
// One file type of the "Signature" database: the 848-byte stored record and
// its in-memory form. The stored form is read and written field by field.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace salvor::carver {

inline constexpr std::size_t kSignatureRecordSize = 848;
inline constexpr std::size_t kSignatureBytesField = 256;
inline constexpr std::size_t kNameField = 256;
inline constexpr std::size_t kExtensionField = 32;
inline constexpr std::size_t kCategoryField = 16;

// Field offsets of the stored record.
namespace field {
inline constexpr std::size_t kSelected = 1;
inline constexpr std::size_t kSignatureLength = 2;
inline constexpr std::size_t kSignatureOffset = 3;
inline constexpr std::size_t kSignatureBytes = 5;
inline constexpr std::size_t kName = 518;
inline constexpr std::size_t kExtension = 774;
inline constexpr std::size_t kDefaultLength = 806;
inline constexpr std::size_t kMaximumLength = 810;
inline constexpr std::size_t kFoundLength = 814;
inline constexpr std::size_t kSkipLength = 818;
inline constexpr std::size_t kSkipValid = 822;
inline constexpr std::size_t kCategory = 824;
inline constexpr std::size_t kTypeCode = 840;
inline constexpr std::size_t kLink = 844;
}  // namespace field
static_assert(field::kLink + 4 == kSignatureRecordSize);
static_assert(field::kSignatureBytes + kSignatureBytesField + 257 == field::kName);
static_assert(field::kCategory + kCategoryField == field::kTypeCode);

struct SignatureRecord {
  std::uint8_t selected = 0;
  std::uint8_t signature_length = 0;
  std::uint16_t signature_offset = 0;
  std::array<std::uint8_t, kSignatureBytesField> signature{};
  std::string name;       // at most 255 bytes
  std::string extension;  // at most 31 bytes, without the dot
  std::uint32_t default_length = 0;
  std::uint32_t maximum_length = 0;  // the user's max file size at run time
  std::uint32_t found_length = 0;    // written by the end handler
  std::uint32_t skip_length = 0;     // written by the end handler
  std::uint8_t skip_valid = 0;
  std::string category;  // at most 15 bytes
  std::uint32_t type_code = 0;
  std::uint32_t link = 0;  // only zero (last record) or nonzero matters

  std::span<const std::uint8_t> SignatureBytes() const {
    return std::span<const std::uint8_t>(signature.data(), signature_length);
  }
  bool HasValidSkip() const { return skip_length != 0 && skip_valid == 1; }
};

// Parses one stored record; nullopt when fewer than 848 bytes are given.
std::optional<SignatureRecord> ParseSignatureRecord(std::span<const std::uint8_t> bytes);
// The stored form; texts longer than their field are cut to leave the NUL.
std::vector<std::uint8_t> StoreSignatureRecord(const SignatureRecord& record);

// The display form of a signature: each byte in lower-case hex without zero
// padding (0x0A -> "a"), concatenated. Not unique: 01 11 and 11 01 both give
// "111", which is why matching uses the bytes themselves.
std::string KeyText(std::span<const std::uint8_t> bytes);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace salvor::carver

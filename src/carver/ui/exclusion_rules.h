#pragma once
// Checking an extension typed into the exclusion list.

#include <string>
#include <string_view>
#include <vector>

namespace salvor::carver::ui {

inline constexpr std::size_t kLongestExcludedExtension = 219;

enum class ExtensionProblem { kNone, kEmptyOrListed, kTooLong, kBadCharacters };

// A leading "." is not part of the extension; listed ones compare without case.
std::string NormalizedExtension(std::string_view typed);
ExtensionProblem CheckExtension(std::string_view extension, const std::vector<std::string>& listed);

}  // namespace salvor::carver::ui

#include "carver/ui/exclusion_rules.h"

#include <algorithm>

#include "carver/signature_record.h"

namespace salvor::carver::ui {

std::string NormalizedExtension(std::string_view typed) {
  while (!typed.empty() && (typed.front() == ' ' || typed.front() == '.')) typed.remove_prefix(1);
  while (!typed.empty() && typed.back() == ' ') typed.remove_suffix(1);
  return std::string(typed);
}

ExtensionProblem CheckExtension(std::string_view extension, const std::vector<std::string>& listed) {
  if (extension.empty() || std::any_of(listed.begin(), listed.end(), [&](const std::string& l) {
        return EqualsIgnoreCase(l, extension);
      }))
    return ExtensionProblem::kEmptyOrListed;
  if (extension.size() > kLongestExcludedExtension) return ExtensionProblem::kTooLong;
  if (extension.find_first_of("\\/:*?\"<>|") != std::string_view::npos)
    return ExtensionProblem::kBadCharacters;
  return ExtensionProblem::kNone;
}

}  // namespace salvor::carver::ui

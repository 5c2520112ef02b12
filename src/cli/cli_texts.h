#pragma once
// Texts only the command line shows (printf-style formats).

#include <string_view>

namespace salvor::cli {

inline constexpr std::string_view kLsHeader =
    "type    state            size  created     accessed        record      parent  path";
inline constexpr const char* kNoSuchEntry = "no entry %u: the tree has entries 0 to %u - 1";
inline constexpr const char* kNotAFileEntry =
    "entry %u is not a file (the tree has entries 0 to %u - 1)";

}  // namespace salvor::cli

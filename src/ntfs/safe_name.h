#pragma once
// Names read from a disk are data, never paths: what a hostile or damaged
// volume calls a file must not be able to create anything outside the
// destination folder.

#include <string>
#include <string_view>

namespace salvor {

// The UTF-8 name under which an entry called `name` is created: "/" and NUL
// become "_", the names "." and ".." become "#." and "#..", an empty name
// becomes "#". Anything else (backslashes, colons, unicode) is kept: on
// this system only "/" and NUL separate or end a path.
std::string SafeTargetName(std::u16string_view name);

// The same for a name already in UTF-8 (an answer to the rename question).
std::string SafeTargetName(std::string_view name);

}  // namespace salvor

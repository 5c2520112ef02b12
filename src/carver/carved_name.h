#pragma once
// Names in the found-file tree are data: categories and extensions come from
// the signature file, so a hostile database could name a folder "..". What is
// created for a node is always one plain name inside its folder.

#include <string>
#include <string_view>

namespace salvor::carver {

// The name under which a found node is created: "/", "\" and NUL become "_"
// (a backslash too, since the same name is an archive entry name, where it
// would separate folders), and an empty name, "." and ".." get a "#" in front.
std::string CarvedTargetName(std::string_view name);

}  // namespace salvor::carver

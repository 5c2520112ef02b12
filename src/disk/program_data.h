#pragma once
// Where a program finds the files it ships with (the signature database, the
// help pages, the tips). In the build tree they lie beside the programs; an
// installed copy keeps them in <prefix>/share/salvor, next to <prefix>/bin.

#include <filesystem>
#include <string_view>

namespace salvor {

// `program_dir`/`name` when it is there, else the installed share folder's
// copy when that is there, else `program_dir`/`name` (so a message about a
// missing file names the place a user would look first).
std::filesystem::path ProgramDataPath(const std::filesystem::path& program_dir,
                                      std::string_view name);

}  // namespace salvor

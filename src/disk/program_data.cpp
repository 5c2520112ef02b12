#include "disk/program_data.h"

namespace salvor {

std::filesystem::path ProgramDataPath(const std::filesystem::path& program_dir,
                                      std::string_view name) {
  const std::filesystem::path beside = program_dir / name;
  std::error_code ignored;
  if (std::filesystem::exists(beside, ignored)) return beside;
  const std::filesystem::path installed = program_dir.parent_path() / "share" / "salvor" / name;
  if (std::filesystem::exists(installed, ignored)) return installed;
  return beside;
}

}  // namespace salvor

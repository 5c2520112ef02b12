#include "carver/carved_name.h"

namespace salvor::carver {

std::string CarvedTargetName(std::string_view name) {
  std::string safe(name);
  for (char& c : safe)
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  if (safe.empty() || safe == "." || safe == "..") safe.insert(0, "#");
  return safe;
}

}  // namespace salvor::carver

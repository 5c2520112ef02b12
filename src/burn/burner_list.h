#pragma once
// The writers a burn can go to, as the saving options list them.

#include <string>
#include <vector>

namespace salvor::burn {

struct Burner {
  std::string address;  // what libburn opens, e.g. /dev/sr0
  std::string label;    // vendor and product, for the device list
};

// Every optical drive that libburn can see and may write. Needs a live
// BurnLibrary. Pseudo-drives ("stdio:/path") are never listed: they are
// named by the caller.
std::vector<Burner> ListBurners();

}  // namespace salvor::burn

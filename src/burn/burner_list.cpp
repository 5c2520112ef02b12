#include "burn/burner_list.h"

#include <libburn/libburn.h>

// libburn declares its C interface inside namespace burn when compiled as C++.
using namespace ::burn;

namespace salvor::burn {
namespace {

std::string Trimmed(const char* field) {
  std::string text(field);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::vector<Burner> ListBurners() {
  std::vector<Burner> burners;
  burn_drive_info* infos = nullptr;
  unsigned int count = 0;
  if (burn_drive_scan(&infos, &count) != 1) return burners;
  for (unsigned int i = 0; i < count; ++i) {
    const burn_drive_info& info = infos[i];
    const bool writes = info.write_cdr || info.write_cdrw || info.write_dvdr || info.write_dvdram;
    char address[BURN_DRIVE_ADR_LEN] = {};
    if (!writes || burn_drive_get_adr(&infos[i], address) != 1) continue;
    burners.push_back({address, Trimmed(info.vendor) + " " + Trimmed(info.product)});
  }
  burn_drive_info_free(infos);
  return burners;
}

}  // namespace salvor::burn

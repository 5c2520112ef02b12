#include "burn/burn_library.h"

#include <libburn/libburn.h>
#include <libisofs/libisofs.h>

// libburn declares its C interface inside namespace burn when compiled as C++.
using namespace ::burn;

namespace salvor::burn {

BurnLibrary::BurnLibrary() {
  burn_started_ = burn_initialize() == 1;
  iso_started_ = iso_init() >= 0;
  ok_ = burn_started_ && iso_started_;
  if (burn_started_) {
    // The libraries print nothing: their messages stay queued for us, and
    // signals keep the program's own handling (Ctrl+C stops a burn through
    // the run control, not by libburn ending the process).
    char queue[] = "SORRY";
    char print[] = "NEVER";
    char prefix[] = "libburn: ";
    burn_msgs_set_severities(queue, print, prefix);
    burn_set_signal_handling(nullptr, nullptr, 1);
  }
  if (iso_started_) {
    char queue[] = "SORRY";
    char print[] = "NEVER";
    char prefix[] = "libisofs";
    iso_set_msgs_severities(queue, print, prefix);
    // Names on the cache folder are UTF-8 whatever the user's locale says.
    char charset[] = "UTF-8";
    iso_set_local_charset(charset, 0);
  }
}

BurnLibrary::~BurnLibrary() {
  if (iso_started_) iso_finish();
  if (burn_started_) burn_finish();
}

std::string LastLibraryMessage() {
  std::string last;
  char minimum[] = "SORRY";
  char text[BURN_MSGS_MESSAGE_LEN];
  char severity[80];
  int code = 0;
  int os_errno = 0;
  while (burn_msgs_obtain(minimum, &code, text, &os_errno, severity) == 1) last = text;
  return last;
}

}  // namespace salvor::burn

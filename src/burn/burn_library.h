#pragma once
// The disc-authoring libraries (libburn for drives, libisofs for images) keep
// process-wide state: they are set up once for a burn and shut down at its
// end. This object is that span; only one may exist at a time.

#include <string>

namespace salvor::burn {

class BurnLibrary {
 public:
  BurnLibrary();
  ~BurnLibrary();
  BurnLibrary(const BurnLibrary&) = delete;
  BurnLibrary& operator=(const BurnLibrary&) = delete;

  // False when either library failed to start; then nothing else may be called.
  bool ok() const { return ok_; }

 private:
  bool burn_started_ = false;
  bool iso_started_ = false;
  bool ok_ = false;
};

// The most recent complaint the libraries queued (their own words), or an
// empty text: used to name the cause when a drive refuses.
std::string LastLibraryMessage();

}  // namespace salvor::burn

#pragma once
// The one way engines hand a failure back: as a value the caller shows, once,
// or logs. Engines never decide when a box appears.

#include <exception>
#include <string>

#include "disk/host.h"

namespace salvor {

struct Failure {
  std::string what;      // what failed, in the words the user reads
  std::string where;     // the path or sector it failed at; empty when none
  int system_error = 0;  // the errno behind it; 0 when none
};

// The log line of a failure: its text, and the place and the system's words
// for the error as detail.
LogEntry FailureLogEntry(const Failure& failure);
void LogFailure(Host& host, const Failure& failure);

// A fault a loop catches so that it can end with what it has: logged, so
// that nothing is dropped unseen.
void LogDroppedFault(Host& host, const std::exception& fault);

}  // namespace salvor

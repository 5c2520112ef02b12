#pragma once
// The pause check every engine loop must pass: paused at its first progress
// report, the engine stops at the gate before it reports again, and once
// resumed it runs to its end.

#include <functional>

#include "disk/run_control.h"
#include "support/recording_host.h"

namespace salvor::testing {

// Runs `engine` (which returns whether it completed) on a worker thread. The
// host must be the one the engine reports to.
void ExpectPauseHoldsThenResumes(RecordingHost& host, RunControl& run,
                                 const std::function<bool()>& engine);

}  // namespace salvor::testing

#include "ntfs/engine_state.h"

namespace salvor {

void ResetSource(EngineState& state) {
  state.source.Reset();
  state.partitions.clear();
  state.volume = CurrentVolume{};
  state.mft_runs.clear();
}

}  // namespace salvor

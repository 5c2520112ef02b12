#pragma once
// Finding the master file table of the chosen volume: its first record, the
// run list of its data and the number of records it holds.

#include "ntfs/engine_state.h"

namespace salvor {

// Builds state.mft_runs and state.volume.mft_record_count for the current
// volume. The $MFT's own record is read at the volume's $MFT sector; when it
// is not there, the sectors of the $MFT's first cluster and of the mirror's
// are tried in turn, and the first that holds it becomes the $MFT sector.
// The $MFT's data may be described by an attribute list, whose $DATA pieces
// are then gathered from the records it names. True when the run list is
// not empty. Read failures that the user has been shown give false.
bool LocateMft(EngineState& state);

}  // namespace salvor

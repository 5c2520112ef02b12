#pragma once
// Rebuilding volumes whose boot sectors are lost from the copies of the
// MFT's first records that the thorough search collected.

#include <vector>

#include "disk/sector_source.h"
#include "partitions/found_volumes.h"
#include "partitions/mft_candidate.h"

namespace salvor {

// Three passes, in this order, each new volume checked with
// FindSameVolumeNear: pairs of byte-equal record-0 copies (the $MFT's and its
// mirror's, flag 0x02; the mirror taken to lie in the middle of the volume),
// pairs of byte-equal record-1 copies (0x02), then unpaired record 0 with
// unpaired record 1 of the same geometry and creation time (0x04).
void PairMftCandidates(SectorSource& source, std::vector<MftCandidate>& record0,
                       std::vector<MftCandidate>& record1, std::vector<VolumeInfo>& list,
                       const PartitionFound& found);

}  // namespace salvor

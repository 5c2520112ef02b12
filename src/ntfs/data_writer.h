#pragma once
// Writing a file's unnamed data stream, read straight from the volume's
// clusters, to a sink: resident values as they stand, plain runs cluster by
// cluster with sparse runs as zeros, compressed runs unit by unit.

#include <cstdint>

#include "disk/progress_reporter.h"
#include "disk/run_control.h"
#include "ntfs/data_sink.h"
#include "ntfs/data_stream.h"
#include "ntfs/engine_state.h"
#include "ntfs/run.h"

namespace salvor {

// One stream on its way to a sink. `progress`, when set, hears (written,
// size) after every piece written; quiet writers leave it null. `run`, when
// set, is passed before every piece: a stop ends the stream there with
// `stopped` set (a multi-GB file must not hold a stop for minutes). Reads of
// a record's own attributes leave it null, since half a list is no list.
struct StreamWriter {
  EngineState& state;
  DataSink& sink;
  std::uint64_t size = 0;              // the stream ends here
  std::uint64_t initialized_size = 0;  // bytes beyond it are zeros, not read
  ProgressReporter* progress = nullptr;
  std::uint64_t written = 0;
  RunControl* run = nullptr;
  bool stopped = false;
};

// Plain runs: each run's clusters in order, sparse runs as zeros, the last
// cluster cut at the size.
void WriteRuns(const RunList& runs, StreamWriter& w);

// Compressed runs, one compression unit of `unit_clusters` clusters at a
// time: a unit wholly on disk is stored as it stands, a wholly sparse unit is
// zeros, and a unit that ends in sparse clusters is LZNT1 data, decompressed.
// The last unit is cut at the size.
void WriteCompressedRuns(const RunList& runs, std::uint32_t unit_clusters, StreamWriter& w);

struct SaveDataResult {
  bool ok = false;  // false: the record, or an extension record, failed its check
  std::uint64_t bytes = 0;
  bool stopped = false;  // a stop ended the stream before its end
};

// Writes a located stream whichever form it has. With `run` set, a stop ends
// it between pieces.
SaveDataResult WriteDataAttribute(EngineState& state, const DataStream& stream, DataSink& sink,
                                  ProgressReporter* progress, RunControl* run = nullptr);

// Writes the unnamed data stream of the file whose MFT record lies at
// `record_sector`. A file without an unnamed stream (a named stream only)
// writes nothing and is ok. Write failures raise UserException (shown by
// the sink); read failures follow the sector source. The state's run
// control is passed between pieces: a stop gives `stopped`.
SaveDataResult SaveFileData(EngineState& state, std::uint64_t record_sector, DataSink& sink,
                            ProgressReporter* progress);

}  // namespace salvor

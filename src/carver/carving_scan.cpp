#include "carver/carving_scan.h"

#include <cstring>
#include <new>
#include <vector>

#include "carver/end_handlers.h"
#include "carver/scan_windows.h"
#include "carver/texts.h"
#include "disk/progress_reporter.h"

namespace salvor::carver {
namespace {

constexpr char kMp3Probe[] = {0x49, 0x44};  // "ID": the key of the MP3 record

struct Scan {
  Scan(CarveDisk& d, Host& host, RunControl& r, ContinuationLists& lists,
       const ScanOptions& o, const SignatureList& selected)
      : disk(d), reader(d, host), ctx{reader, r, lists}, run(r), options(o),
        groups(BuildGroups(selected)) {}

  CarveDisk& disk;
  SectorReader reader;
  HandlerContext ctx;
  RunControl& run;
  const ScanOptions& options;
  SignatureGroups groups;
  // The MP3 probe's key is fixed, so its entry (per group, or nullptr) is
  // looked up once, as is whether that entry is the MP3 one.
  struct Probe {
    const SignatureEntry* entry = nullptr;
    bool mp3_extension = false;
  };
  std::vector<Probe> probes;
  // A handler writes its measures into the record, so it works on a copy;
  // one kept for the whole scan, since most sectors run no handler.
  SignatureRecord measured;
  CarvingScanResult result;

  void Register(std::uint64_t start, const SignatureRecord& rec) {
    const std::uint64_t length =
        FoundFileLength(rec, start, disk.total_sectors, disk.sector_size);
    const FoundNode* node = AddFoundFile(result.tree, rec.category, rec.extension, start, length);
    ++result.files_found;
    if (length < MeasuredLength(rec)) ++result.files_cut_at_end;
    if (options.on_found) options.on_found(*node, result.files_found);
  }

  // A handler that runs out of memory rejects the hit; a vanished disk ends
  // the scan (DiskDisconnected passes through).
  HandlerResult Dispatch(std::uint64_t start, SignatureRecord& rec) {
    try {
      return RunEndHandler(ctx, start, rec);
    } catch (const std::bad_alloc&) {
      return HandlerResult::kRejected;
    }
  }

  // Examines sector `start` whose bytes (with the lookahead behind them) begin
  // at `sector`; returns how many sectors to move on.
  std::uint64_t Examine(std::uint64_t start, const std::uint8_t* sector) {
    bool probe_made = false;
    bool mp3_ran = false;
    for (std::size_t gi = 0; gi < groups.size() && run.IsRunning(); ++gi) {
      const SignatureGroup& group = groups[gi];
      const std::uint8_t* key_bytes = sector + group.offset;
      bool again = true;
      while (again) {
        again = false;
        const bool probing = probes[gi].entry != nullptr && !probe_made;
        const SignatureEntry* entry = probes[gi].entry;
        if (probing) {
          probe_made = true;
        } else {
          if (!MayMatch(group, key_bytes)) break;
          entry = LookUp(group, std::string_view(reinterpret_cast<const char*>(key_bytes),
                                                 group.length));
          if (entry == nullptr) break;
        }
        const SignatureRecord* rec = &entry->record;
        HandlerResult outcome = HandlerResult::kRejected;
        bool handle = entry->record.type_code != type_code::kNone;
        if (entry->record.type_code == type_code::kMp3) {
          const std::uint16_t v = static_cast<std::uint16_t>((sector[0] << 8) | sector[1]);
          handle = v >= 0xFFE0 || v == 0x4944 || v == 0x5249;
          mp3_ran = mp3_ran || handle;
        }
        if (handle) {
          measured = entry->record;
          outcome = Dispatch(start, measured);
          rec = &measured;
        }
        if (outcome == HandlerResult::kAccepted) {
          Register(start, *rec);
          if (!rec->HasValidSkip()) return 1;
          return (std::uint64_t{rec->skip_length} + disk.sector_size - 1) / disk.sector_size;
        }
        if (!entry->extra_extensions.empty()) {
          for (const std::string& extension : entry->extra_extensions) {
            SignatureRecord extra = *rec;
            extra.extension = extension;
            Register(start, extra);
          }
          return 1;
        }
        // The probe found the MP3 record but no MP3 handler ran: look at the
        // sector's own bytes in this group once more.
        if (probing && !mp3_ran &&
            (handle ? EqualsIgnoreCase(rec->extension, "mp3") : probes[gi].mp3_extension)) {
          again = true;
        }
      }
    }
    return 1;
  }
};

}  // namespace

std::uint64_t MeasuredLength(const SignatureRecord& rec) {
  std::uint64_t length = rec.found_length;
  if (length == 0) length = rec.maximum_length;
  if (length == 0) length = rec.default_length;
  if (length == 0) length = kLengthWithoutAny;
  return length;
}

std::uint64_t FoundFileLength(const SignatureRecord& rec, std::uint64_t start_sector,
                              std::uint64_t total_sectors, std::uint32_t sector_size) {
  std::uint64_t length = MeasuredLength(rec);
  if (sector_size != 0 && start_sector + length / sector_size > total_sectors) {
    length = (total_sectors > start_sector ? total_sectors - start_sector : 0) * sector_size;
  }
  return length;
}

CarvingScanResult RunCarvingScan(CarveDisk& disk, const SignatureList& selected,
                                 ContinuationLists& lists, Host& host, RunControl& run,
                                 const ScanOptions& options) {
  lists.Clear();
  Scan scan(disk, host, run, lists, options, selected);
  scan.result.tree = NewFoundTree();
  for (const SignatureGroup& group : scan.groups) {
    const SignatureEntry* probe = group.length == 2 && group.offset == 0
                                      ? LookUp(group, std::string_view(kMp3Probe, 2))
                                      : nullptr;
    scan.probes.push_back({probe, probe && EqualsIgnoreCase(probe->record.extension, "mp3")});
  }
  const std::uint64_t sector_size = disk.sector_size;
  const std::uint64_t total = disk.total_sectors;
  ProgressReporter progress(host, ProgressPhase::kCarve, ProgressUnit::kSectors);
  try {
    // One sector more (or as many as the furthest signature needs) so that a
    // signature reaching past its sector's end is read from real bytes.
    const std::uint64_t lookahead =
        std::max<std::uint64_t>(1, LookaheadSectors(scan.groups, disk.sector_size));
    ScanWindows windows(scan.reader, kWindowSectors + lookahead);
    std::uint64_t w = 0;
    while (w < total && run.Checkpoint()) {
      progress.Report(w, total);
      const std::uint8_t* window = windows.Window(w).data();
      ++scan.result.windows_read;
      std::uint64_t next_window = w + kWindowSectors;
      std::uint64_t q = 0;
      while (q < kWindowSectors && w + q < total && run.IsRunning()) {
        const std::uint64_t k = scan.Examine(w + q, window + q * sector_size);
        if (q + k <= kWindowSectors - 1) {
          q += k;
        } else {
          next_window = w + q + k;
          break;
        }
      }
      w = next_window;
    }
  } catch (const DiskDisconnected&) {
    scan.result.disconnected = true;
  } catch (const std::bad_alloc&) {
    scan.result.disconnected = true;
  }
  // A vanished disk leaves the running flag set; the files found so far stand.
  scan.result.completed = run.IsRunning() && !scan.result.disconnected;
  return std::move(scan.result);
}

void AnnounceScanEnd(const CarvingScanResult& result, Host& host) {
  if (!result.completed) return;
  host.Progress({ProgressPhase::kCarve, 1, 1, ProgressUnit::kItems});
  host.ShowMessage(MessageIcon::kInformation, text::kCaptionInformation, text::kScanningCompleted);
}

}  // namespace salvor::carver

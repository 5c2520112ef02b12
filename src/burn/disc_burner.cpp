#include "burn/disc_burner.h"

#include <libburn/libburn.h>

#include <chrono>
#include <memory>
#include <thread>

#include "burn/burn_library.h"
#include "burn/disc_image.h"
#include "carver/texts.h"
#include "disk/progress_reporter.h"

// libburn declares its C interface inside namespace burn when compiled as C++.
using namespace ::burn;

namespace salvor::burn {
namespace {

using namespace std::chrono_literals;
namespace text = carver::text;

constexpr std::uint64_t kBlockBytes = 2048;

// One grabbed drive, released (never ejected) when the burn ends.
struct GrabbedDrive {
  burn_drive_info* infos = nullptr;
  burn_drive* drive = nullptr;
  GrabbedDrive() = default;
  GrabbedDrive(const GrabbedDrive&) = delete;
  GrabbedDrive& operator=(const GrabbedDrive&) = delete;
  ~GrabbedDrive() {
    if (drive != nullptr) burn_drive_release(drive, 0);
    if (infos != nullptr) burn_drive_info_free(infos);
  }
};

struct DiscDeleter {
  void operator()(burn_disc* disc) const { burn_disc_free(disc); }
};
struct OptionsDeleter {
  void operator()(burn_write_opts* options) const { burn_write_opts_free(options); }
};

void ShowError(Host& host, std::string_view message, const std::string& cause = {}) {
  std::string shown(message);
  if (!cause.empty()) shown += "\n\n" + cause;
  host.ShowMessage(MessageIcon::kError, text::kCaptionError, shown);
}

// A drive reports "unready" while it spins up or reads the medium's table.
burn_disc_status SettledStatus(burn_drive* drive, RunControl& run) {
  burn_disc_status status = burn_disc_get_status(drive);
  while (status == BURN_DISC_UNREADY && run.IsRunning()) {
    std::this_thread::sleep_for(100ms);
    status = burn_disc_get_status(drive);
  }
  return status;
}

// The disc of one session with one data track fed by `source`.
std::unique_ptr<burn_disc, DiscDeleter> OneTrackDisc(burn_source* source) {
  std::unique_ptr<burn_disc, DiscDeleter> disc(burn_disc_create());
  burn_session* session = burn_session_create();
  burn_track* track = burn_track_create();
  burn_track_define_data(track, 0, 0, 1, BURN_MODE1);
  burn_track_set_source(track, source);
  burn_session_add_track(session, track, BURN_POS_END);
  burn_disc_add_session(disc.get(), session, BURN_POS_END);
  // The disc holds its own references now.
  burn_track_free(track);
  burn_session_free(session);
  return disc;
}

// Reports progress until the drive is idle again; a stop cancels the write
// and still waits for the drive, so it is never left mid-command.
void FollowWrite(burn_drive* drive, std::uint64_t image_size, ProgressReporter& progress,
                 RunControl& run) {
  bool cancelled = false;
  burn_progress written_so_far{};
  while (burn_drive_get_status(drive, &written_so_far) != BURN_DRIVE_IDLE) {
    if (!run.IsRunning() && !cancelled) {
      burn_drive_cancel(drive);
      cancelled = true;
    }
    if (written_so_far.sector > 0) {
      const std::uint64_t written = static_cast<std::uint64_t>(written_so_far.sector) * kBlockBytes;
      progress.Report(std::min(written, image_size), image_size);
    }
    std::this_thread::sleep_for(100ms);
  }
}

}  // namespace

bool DiscBurner::WriteFolder(const std::filesystem::path& folder, Host& host, RunControl& run,
                             const carver::StatusListener& on_status) {
  GrabbedDrive grabbed;
  std::string address = address_;
  if (burn_drive_scan_and_grab(&grabbed.infos, address.data(), 1) != 1) {
    ShowError(host, text::kNoBurningDevice, address_ + ": " + LastLibraryMessage());
    return false;
  }
  grabbed.drive = grabbed.infos[0].drive;

  switch (SettledStatus(grabbed.drive, run)) {
    case BURN_DISC_BLANK:
      break;
    case BURN_DISC_EMPTY:
      ShowError(host, text::kInsertMedia);
      return false;
    case BURN_DISC_APPENDABLE:
      // A second session would hide the first one's files from most readers.
      ShowError(host, text::kInsertBlankMedia);
      return false;
    default:
      if (!run.IsRunning()) return false;
      ShowError(host, text::kInsertWritableMedia);
      return false;
  }

  DiscImage image = BuildDiscImage(folder, std::string(text::kVolumeLabel));
  if (!image.source) {
    ShowError(host, text::kFailedToWriteDestination, image.error);
    return false;
  }
  std::unique_ptr<burn_write_opts, OptionsDeleter> options(burn_write_opts_new(grabbed.drive));
  const off_t capacity = burn_disc_available_space(grabbed.drive, options.get());
  if (capacity < 0 || static_cast<std::uint64_t>(capacity) < image.size) {
    ShowError(host, text::kInsertHigherCapacity);
    return false;
  }

  auto disc = OneTrackDisc(image.source.get());
  char reasons[BURN_REASONS_LEN] = {};
  if (burn_write_opts_auto_write_type(options.get(), disc.get(), reasons, 0) == BURN_WRITE_NONE) {
    ShowError(host, text::kInsertWritableMedia, reasons);
    return false;
  }
  burn_write_opts_set_underrun_proof(options.get(), 1);
  if (!run.IsRunning()) return false;

  ProgressReporter progress(host, ProgressPhase::kSave, ProgressUnit::kBytes);
  progress.Report(0, image.size);
  burn_disc_write(options.get(), disc.get());
  FollowWrite(grabbed.drive, image.size, progress, run);
  if (!run.IsRunning()) return false;
  if (!burn_drive_wrote_well(grabbed.drive)) {
    ShowError(host, text::kFailedToWriteDestination, address_ + ": " + LastLibraryMessage());
    return false;
  }
  if (on_status) on_status(text::kStatusFinalizing);
  progress.Final(image.size, image.size);
  return true;
}

}  // namespace salvor::burn

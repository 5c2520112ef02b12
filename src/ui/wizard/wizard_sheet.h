#pragma once
// The wizard: the guided start that picks a task, a disk or image, and a
// partition or a copy destination, then hands the task to the main frame.

#include <QWizard>
#include <filesystem>
#include <string>
#include <vector>

#include "disk/disk_list.h"
#include "ntfs/engine_state.h"
#include "ui/wizard/wizard_task.h"

namespace salvor::ui {

// What the pages share while the wizard is open.
struct WizardState {
  WizardTaskKind task = WizardTaskKind::kNone;
  bool search_lost = false;  // processing mode: false lists the partition table
  int source_disk = -1;      // index into the disk list
  int destination_disk = -1;
  std::string image_path;        // task 1: the image to read
  std::string destination_path;  // task 3: the image to create
  bool run_on_startup = false;
  bool fresh_start = true;  // set by the main page, tells the next page to reset itself
};

class CWizardSheet : public QWizard {
  Q_OBJECT
 public:
  enum PageId { kMainPage, kDrivePage, kImagePage, kClonePage, kImageDiskPage, kPartitionPage };

  // The disk list of this machine.
  CWizardSheet(EngineState& engine, QWidget* parent = nullptr);
  // A given disk list; `device_folder` holds the devices it names (files
  // stand in for disks in tests).
  CWizardSheet(EngineState& engine, std::vector<DiskListEntry> disks,
               std::filesystem::path device_folder, QWidget* parent = nullptr);
  ~CWizardSheet() override;

  // "Open found Logical Drive": the wizard opens at the partition list of the
  // source already open in the engine state.
  void StartAtPartitionList(WizardTaskKind kind, std::string source_path);

  WizardState& state() { return state_; }
  EngineState& engine() { return engine_; }
  const std::vector<DiskListEntry>& disks() const { return disks_; }
  std::string DevicePath(int disk) const;
  // Sends a process log record to the frame's host.
  void SendLog(const LogEntry& entry);
  // Opens the chosen disk or image as the source and fills the partition
  // list by the chosen mode. False keeps the page.
  bool OpenSourceAndListVolumes(bool image);
  // Set by the last page before it lets the wizard finish.
  void SetTask(WizardTask task) { task_ = std::move(task); }
  const WizardTask& task() const { return task_; }

 signals:
  // Emitted once when the wizard finishes.
  void taskChosen(const salvor::ui::WizardTask& task);
  // The help page of the current page ("ntfsrecoverdata.htm", ...).
  void helpRequested(const QString& topic);

 public slots:
  void reject() override;
  void done(int code) override;

 private:
  EngineState& engine_;
  std::vector<DiskListEntry> disks_;
  std::filesystem::path device_folder_;
  WizardState state_;
  WizardTask task_;
};

// The settings store and the value the wizard's box is kept in.
inline constexpr const char* kSettingsOrganization = "Varnok Labs";
inline constexpr const char* kSettingsApplication = "Varnok NTFS Data Recovery";
inline constexpr const char* kStartUpSetting = "Wizard/StartUp";

}  // namespace salvor::ui

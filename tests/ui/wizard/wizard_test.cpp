// The wizard driven through its real widgets offscreen: files stand in for
// disks, modal windows are answered by a script as they open, and every page
// is photographed into <build>/screenshots/.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QThread>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "disk/texts.h"
#include "modal_script.h"
#include "support/recording_host.h"
#include "support/test_paths.h"
#include "ui/wizard/disk_tree.h"
#include "ui/wizard/varient_clone_image_dialog.h"
#include "ui/wizard/wizard_page.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {
namespace {

using testing::ModalScript;
using testing::Screenshot;
namespace fs = std::filesystem;

template <typename T = QWidget>
T* Find(QWidget* root, const QString& name) {
  for (T* w : root->findChildren<T*>())
    if (w->accessibleName() == name && w->isVisible()) return w;
  return nullptr;
}

template <typename Done>
bool WaitUntil(Done done) {
  for (int i = 0; i < 3000 && !done(); ++i) {
    QApplication::processEvents();
    QThread::msleep(10);
  }
  return done();
}

DiskListEntry Disk(const std::string& file, std::uint64_t sectors, const std::string& model) {
  DiskListEntry d;
  d.device_name = file;
  d.model = model;
  d.size = DiskSizeText(sectors * 512);
  d.serial_number = "SN-" + model;
  d.interface_type = "SCSI";
  d.media_type = std::string(text::kFixedMedia);
  d.total_sectors = std::to_string(sectors);
  d.bytes_per_sector = "512";
  return d;
}

void MakeFile(const fs::path& path, std::uint64_t sectors) {
  std::ofstream(path, std::ios::binary).close();
  fs::resize_file(path, sectors * 512);
}

struct Wizard : ::testing::Test {
  testing::RecordingHost host;
  RunControl run;
  EngineState engine{host, run};
  std::unique_ptr<CWizardSheet> sheet;
  std::vector<WizardTask> tasks;
  ModalScript script;
  QStringList script_texts;  // the search's closing messages

  void Open(std::vector<DiskListEntry> disks, const fs::path& folder) {
    sheet = std::make_unique<CWizardSheet>(engine, std::move(disks), folder);
    QObject::connect(sheet.get(), &CWizardSheet::taskChosen,
                     [this](const WizardTask& t) { tasks.push_back(t); });
    sheet->show();
  }
  void Click(const QString& name) {
    auto* b = Find<QAbstractButton>(sheet.get(), name);
    ASSERT_NE(b, nullptr) << name.toStdString();
    b->click();
  }
  QAbstractButton* Button(QWizard::WizardButton which) { return sheet->button(which); }
  void Next() { Button(QWizard::NextButton)->click(); }
  void Finish() { Button(QWizard::FinishButton)->click(); }
  void SelectDisk(const QString& tree, int disk) {
    auto* t = Find<CDiskTree>(sheet.get(), tree);
    ASSERT_NE(t, nullptr);
    t->setCurrentItem(t->topLevelItem(0)->child(disk));
  }
  QTreeWidget* Partitions() { return Find<QTreeWidget>(sheet.get(), "Partitions"); }
  QStringList Column(int column) {
    QStringList out;
    for (int i = 0; i < Partitions()->topLevelItemCount(); ++i)
      out << Partitions()->topLevelItem(i)->text(column);
    return out;
  }
  bool Logged(const std::string& text) const {
    for (const auto& e : host.log)
      if (e.text == text || e.detail == text) return true;
    return false;
  }
  // Runs the search mode from the drive page: quick, or thorough over the whole disk.
  void Search(bool thorough) {
    script.Then([thorough](QWidget* dialog) {
      Screenshot(dialog, thorough ? "scan-mode-thorough" : "scan-mode-quick");
      Find<QRadioButton>(dialog, thorough ? "Thorough Scan" : "Quick Scan")->click();
      Find<QAbstractButton>(dialog, "OK")->click();
      return true;
    });
    if (thorough)
      script.Then([](QWidget* dialog) {
        Screenshot(dialog, "sector-range");
        Find<QAbstractButton>(dialog, "OK")->click();
        return true;
      });
    // The search's last message stands over its progress dialog.
    script.Then([this](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) return false;
      Screenshot(box->parentWidget(), "search-progress");
      script_texts << box->text();
      box->button(QMessageBox::Ok)->click();
      return true;
    });
    Next();
  }
};

TEST_F(Wizard, FirstPageRulesAndReopeningStartsAfresh) {
  QSettings(kSettingsOrganization, kSettingsApplication).setValue(kStartUpSetting, 0);
  Open({}, "/dev");
  EXPECT_EQ(sheet->currentId(), CWizardSheet::kMainPage);
  EXPECT_FALSE(Button(QWizard::NextButton)->isEnabled());
  Screenshot(sheet.get(), "wizard-main");
  Click("Recover your Data");
  EXPECT_TRUE(Button(QWizard::NextButton)->isEnabled());
  EXPECT_TRUE(Find<QLabel>(sheet.get(), "Description")->text().contains("Recover your data from disk"));
  Screenshot(sheet.get(), "wizard-main-task");
  Find<QAbstractButton>(sheet.get(), "Run wizard on startup")->click();
  sheet.reset();
  EXPECT_EQ(QSettings(kSettingsOrganization, kSettingsApplication).value(kStartUpSetting).toInt(), 1);

  Open({}, "/dev");
  EXPECT_EQ(sheet->currentId(), CWizardSheet::kMainPage);
  EXPECT_EQ(sheet->state().task, WizardTaskKind::kNone);
  EXPECT_FALSE(Button(QWizard::NextButton)->isEnabled());
  EXPECT_TRUE(Find<QAbstractButton>(sheet.get(), "Run wizard on startup")->isChecked());
  // Cancel asks; No keeps the wizard open.
  script.ThenBox(QMessageBox::No);
  Button(QWizard::CancelButton)->click();
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_EQ(script.box_texts(), QStringList{Qt8(text::kCloseWizardQuestion)});
  EXPECT_TRUE(tasks.empty());
}

// The lost-partition fixture as a disk: its table is gone, so the default
// listing refuses, the quick scan finds the cylinder-aligned volume and the
// thorough scan all three.
TEST_F(Wizard, LostPartitionsFoundByBothSearchModes) {
  Open({Disk("lost-partitions.img", 45056, "Lost")}, testing::SamplesDir());
  Click("Recover your Data");
  Next();
  EXPECT_EQ(sheet->currentId(), CWizardSheet::kDrivePage);
  EXPECT_FALSE(Button(QWizard::NextButton)->isEnabled());
  SelectDisk("Disks", 0);
  EXPECT_TRUE(Button(QWizard::NextButton)->isEnabled());
  Screenshot(sheet.get(), "wizard-drive");

  script.ThenBox(QMessageBox::Ok);
  Next();
  EXPECT_EQ(script.box_texts().value(0), Qt8(text::kUseSearchDisk));
  EXPECT_EQ(sheet->currentId(), CWizardSheet::kDrivePage);

  Find<QRadioButton>(sheet.get(), "Search for lost partition(s)")->click();
  Search(false);
  ASSERT_EQ(sheet->currentId(), CWizardSheet::kPartitionPage);
  EXPECT_EQ(Column(1), QStringList{"16065"});
  EXPECT_TRUE(Logged("Completed Searching partitions"));
  Screenshot(sheet.get(), "wizard-partitions-quick");

  Button(QWizard::BackButton)->click();
  Search(true);
  ASSERT_EQ(sheet->currentId(), CWizardSheet::kPartitionPage);
  EXPECT_EQ(Column(1), (QStringList{"2048", "16065", "30720"}));
  EXPECT_EQ(Column(0).value(2), "NTFS logical drive 3");
  EXPECT_TRUE(Logged("Sectors Range 0 to 45056"));
  EXPECT_FALSE(Button(QWizard::FinishButton)->isEnabled());
  Partitions()->topLevelItem(2)->setSelected(true);
  EXPECT_TRUE(Button(QWizard::FinishButton)->isEnabled());
  Screenshot(sheet.get(), "wizard-partitions-thorough");
  Finish();
  ASSERT_EQ(tasks.size(), 1u);
  EXPECT_EQ(tasks[0].kind, WizardTaskKind::kRecoverDisk);
  EXPECT_EQ(tasks[0].drive_number, 3u);
  EXPECT_FALSE(tasks[0].turbo);
  EXPECT_EQ(tasks[0].log.text, "Selected NTFS logical drive 3");
  EXPECT_EQ(engine.volume.first_sector, 30720u);
  EXPECT_FALSE(engine.mft_runs.empty());
  EXPECT_TRUE(script.done());
}

TEST_F(Wizard, SearchFindingNothingListsNoDrivesAndCannotFinish) {
  testing::ScratchDir dir;
  MakeFile(dir.path() / "blank", 40000);
  Open({Disk("blank", 40000, "Blank")}, dir.path());
  Click("Recover your Data");
  Next();
  SelectDisk("Disks", 0);
  Find<QRadioButton>(sheet.get(), "Search for lost partition(s)")->click();
  Search(false);
  ASSERT_EQ(sheet->currentId(), CWizardSheet::kPartitionPage);
  EXPECT_TRUE(script_texts.value(0).endsWith(Qt8(text::kQuickFoundNothing)));
  EXPECT_EQ(Column(0), QStringList{Qt8(text::kNoLogicalDrives)});
  EXPECT_FALSE(Partitions()->isEnabled());
  EXPECT_FALSE(Button(QWizard::FinishButton)->isEnabled());
  Screenshot(sheet.get(), "wizard-partitions-none");
}

// GPT disks list their NTFS partitions, whether the primary or only the
// backup table serves; here as an image file.
TEST_F(Wizard, GptImagesListTheirNtfsPartitions) {
  for (const char* image : {"gpt-disk.img", "gpt-backup-only.img"}) {
    SCOPED_TRACE(image);
    Open({}, "/dev");
    Click("Recover your data from disk image");
    Next();
    ASSERT_EQ(sheet->currentId(), CWizardSheet::kImagePage);
    const QString path = QString::fromStdString((testing::SamplesDir() / image).string());
    script.Then([path](QWidget* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      if (!files) return false;
      Screenshot(dialog, "image-file-dialog");
      files->selectFile(path);
      QMetaObject::invokeMethod(files, "accept");
      return true;
    });
    Click("Select Image File");
    EXPECT_TRUE(Find<QLabel>(sheet.get(), Qt8(text::kSelectedFilePath))->text().endsWith(path));
    Screenshot(sheet.get(), "wizard-image");
    Next();
    ASSERT_EQ(sheet->currentId(), CWizardSheet::kPartitionPage);
    EXPECT_EQ(Column(1), (QStringList{"2048", "12288"}));
    EXPECT_EQ(Column(2).value(0).trimmed(), "4.000 MB");
    Screenshot(sheet.get(), QStringLiteral("wizard-partitions-%1").arg(image));
    sheet.reset();
  }
}

// A disk larger than any folder's free space: the image page asks, No keeps
// the page, Yes goes on and creates the image file.
TEST_F(Wizard, ImageOntoTooSmallFolderAsksAndYesGoesOn) {
  testing::ScratchDir dir;
  MakeFile(dir.path() / "huge", 16);
  Open({Disk("huge", std::uint64_t{1} << 40, "Huge")}, dir.path());
  Click("Create disk Image");
  Next();
  ASSERT_EQ(sheet->currentId(), CWizardSheet::kImageDiskPage);
  SelectDisk("Disks", 0);
  EXPECT_FALSE(Button(QWizard::FinishButton)->isEnabled());
  const QString image = QString::fromStdString((dir.path() / "copy.vk2").string());
  QString proposed;
  script.Then([&](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    if (!files) return false;
    proposed = files->selectedFiles().value(0);
    Screenshot(dialog, "image-save-dialog");
    files->selectFile(image);
    QMetaObject::invokeMethod(files, "accept");
    return true;
  });
  Click("Select destination path");
  EXPECT_TRUE(proposed.contains("Varnok NTFS Image # ")) << proposed.toStdString();
  EXPECT_TRUE(Button(QWizard::FinishButton)->isEnabled());
  Screenshot(sheet.get(), "wizard-image-disk");
  script.ThenBox(QMessageBox::No);
  Finish();
  EXPECT_EQ(sheet->currentId(), CWizardSheet::kImageDiskPage);
  EXPECT_TRUE(tasks.empty());
  script.ThenBox(QMessageBox::Yes);
  Finish();
  EXPECT_EQ(script.box_texts(), (QStringList{Qt8(text::kImageSpaceLow), Qt8(text::kImageSpaceLow)}));
  ASSERT_EQ(tasks.size(), 1u);
  EXPECT_EQ(tasks[0].kind, WizardTaskKind::kImageDisk);
  EXPECT_TRUE(fs::exists(dir.path() / "copy.vk2"));
  EXPECT_EQ(tasks[0].log.detail, "To Location " + image.toStdString());
}

struct CloneWizard : Wizard {
  testing::ScratchDir dir;
  void SetUp() override {
    MakeFile(dir.path() / "source", 3000);
    MakeFile(dir.path() / "smaller", 2999);
    MakeFile(dir.path() / "equal", 3000);
    Open({Disk("source", 3000, "Source"), Disk("smaller", 2999, "Smaller"),
          Disk("equal", 3000, "Equal")},
         dir.path());
  }
};

TEST_F(CloneWizard, RefusesTheSameDiskAndASmallerOneAndCopiesToAnEqualOne) {
  Click("Clone disk");
  Next();
  ASSERT_EQ(sheet->currentId(), CWizardSheet::kClonePage);
  EXPECT_FALSE(Find<QTreeWidget>(sheet.get(), "Destination Disks")->isEnabled());
  SelectDisk("Source Disks", 0);
  for (int target : {0, 1}) {
    SelectDisk("Destination Disks", target);
    script.ThenBox(QMessageBox::Ok);
    Finish();
  }
  EXPECT_EQ(script.box_texts(), (QStringList{Qt8(text::kChooseDifferentDestination),
                                             Qt8(text::kDestinationTooSmall)}));
  SelectDisk("Destination Disks", 2);
  Screenshot(sheet.get(), "wizard-clone");
  Finish();
  ASSERT_EQ(tasks.size(), 1u);
  EXPECT_EQ(tasks[0].kind, WizardTaskKind::kCloneDisk);
  EXPECT_EQ(tasks[0].log.text, "Cloning Disk #[Source, " + Disk("", 3000, "").size + ", Serial:SN-Source]");

  // The copy dialog, held at its first step: Stop pauses and asks; No resumes
  // and the copy completes, Yes ends it.
  for (bool stop : {false, true}) {
    CVarientCloneImageDialog copy(host);
    copy.run().Pause();
    copy.Start(tasks[0]);
    Screenshot(&copy, "copy-dialog");
    script.ThenBox(stop ? QMessageBox::Yes : QMessageBox::No);
    script.ThenBox(QMessageBox::Ok);
    Find<QAbstractButton>(&copy, "Stop Cloning")->click();
    EXPECT_TRUE(WaitUntil([&] { return !copy.isVisible(); }));
  }
  EXPECT_EQ(script.box_texts().mid(2),
            (QStringList{Qt8(text::kStopProcessQuestion), Qt8(text::kDiskCloningCompleted),
                         Qt8(text::kStopProcessQuestion), Qt8(text::kDiskCloningAborted)}));
  std::vector<std::string> lines;
  for (const auto& e : host.log) lines.push_back(e.text == text::kDiskCloning ? e.detail : e.text);
  const std::string heading = tasks[0].log.text;
  EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
            (std::vector<std::string>{std::string(text::kProcessPaused),
                                      std::string(text::kProcessResumed),
                                      Format(text::kCompletedProcess, heading.c_str()),
                                      std::string(text::kProcessPaused),
                                      Format(text::kAbortedProcess, heading.c_str())}));
}

}  // namespace
}  // namespace salvor::ui

int main(int argc, char** argv) {
  // The wizard's setting goes to a settings folder of the tests' own.
  qputenv("XDG_CONFIG_HOME", QByteArray(SALVOR_SCREENSHOTS_DIR "/../wizard-settings"));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

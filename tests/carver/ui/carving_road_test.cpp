// The whole road of one carving on the fixture image, through the real
// pages: types chosen, a scan paused, resumed and asked to stop, the found
// tree against the fixture's manifest, find, previews, and saves to a folder
// and to archives whose files hash as the manifest says. Then the size and
// type limits of a save.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <map>
#include <sstream>

#include "carver/carving_scan.h"
#include "carver/save_selection.h"
#include "carver/texts.h"
#include "carver/ui/data_found_dialog.h"
#include "carver/ui/disk_selection_dialog.h"
#include "carver/ui/find_dialog.h"
#include "carver/ui/help_window.h"
#include "carver/ui/hex_view.h"
#include "carver/ui/image_view_window.h"
#include "carver/ui/known_file_types.h"
#include "carver/ui/processing_dialog.h"
#include "carver/ui/trawler_flow.h"
#include "carver/ui/ui_text.h"
#include "disk/text_format.h"
#include "gui_driver.h"
#include "support/carving_manifest.h"
#include "support/recording_host.h"
#include "support/shell.h"
#include "support/test_paths.h"

namespace salvor::carver::ui {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using salvor::testing::RunCommand;

using Planted = salvor::testing::PlantedFile;

fs::path FixtureImage() { return salvor::testing::SamplesDir() / "carving-fixture.img"; }

// The files planted at sector starts, by sector.
std::map<std::uint64_t, Planted> Manifest() { return salvor::testing::AlignedCarvingFixtureFiles(); }

// name -> (size, sha256) of saved files: every file below `folder`, or every
// member of the archives in it (checked by Python's zipfile).
std::map<std::string, std::pair<std::uint64_t, std::string>> Saved(const fs::path& folder, bool zipped) {
  const auto listed = RunCommand(
      "python3 -c 'import zipfile,hashlib,sys,pathlib\n"
      "for p in sorted(pathlib.Path(sys.argv[1]).rglob(\"*\")):\n"
      "  if not p.is_file(): continue\n"
      "  if sys.argv[2] == \"1\":\n"
      "    z = zipfile.ZipFile(p)\n"
      "    assert z.testzip() is None\n"
      "    for i in z.infolist():\n"
      "      d = z.read(i); print(i.filename.split(\"/\")[-1], len(d), hashlib.sha256(d).hexdigest())\n"
      "  else:\n"
      "    d = p.read_bytes(); print(p.name, len(d), hashlib.sha256(d).hexdigest())' '" +
      folder.string() + "' " + (zipped ? "1" : "0"));
  EXPECT_EQ(listed.status, 0) << listed.output;
  std::map<std::string, std::pair<std::uint64_t, std::string>> saved;
  std::istringstream in(listed.output);
  std::string name, sha;
  std::uint64_t size = 0;
  while (in >> name >> size >> sha) saved[name] = {size, sha};
  return saved;
}

// Saved files that are planted ones of the planted length must hash alike;
// returns how many there were.
int CheckAgainstManifest(const std::map<std::string, std::pair<std::uint64_t, std::string>>& saved,
                         const std::map<std::uint64_t, Planted>& planted) {
  int matched = 0;
  for (const auto& [name, file] : saved) {
    const auto it = planted.find(std::stoull(name));
    if (it == planted.end() || it->second.length != file.first) continue;
    EXPECT_EQ(file.second, it->second.sha256) << name;
    ++matched;
  }
  return matched;
}

std::vector<const FoundNode*> FilesOf(const FoundTreeModel& model, const QModelIndex& parent = {}) {
  std::vector<const FoundNode*> files;
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex index = model.index(row, 0, parent);
    const FoundNode* node = model.Node(index);
    if (node->IsFolder()) {
      const auto below = FilesOf(model, index);
      files.insert(files.end(), below.begin(), below.end());
    } else {
      files.push_back(node);
    }
  }
  return files;
}

template <typename Page>
Page* WaitForPage(TrawlerFlow& flow, const QDialog* not_this = nullptr) {
  Page* page = nullptr;
  WaitFor([&] {
    page = qobject_cast<Page*>(flow.current());
    return page != nullptr && page != not_this && page->isVisible();
  });
  return page;
}

// Fills the saving options sheet when it opens.
void FillSheet(BoxAnswerer& boxes, const fs::path& destination, bool compress) {
  boxes.OnModal("salvor::carver::ui::CSavingOptionsSheet", [=](QWidget* sheet) {
    Named<QLineEdit>(sheet, QStringLiteral("Location to save data"))
        ->setText(QString::fromStdString(destination.string()));
    Named<QCheckBox>(sheet, QStringLiteral("Compress Data"))->setChecked(compress);
    if (compress) Screenshot(sheet, QStringLiteral("08-saving-options"));
    Named<QPushButton>(sheet, QStringLiteral("OK"))->click();
  });
}

TEST(TrawlerRoad, CarvesTheFixtureAndSavesItsFilesToAFolderAndToArchives) {
  const auto planted = Manifest();
  ASSERT_GT(planted.size(), 30u);
  salvor::testing::ScratchDir scratch;
  BoxAnswerer boxes;
  QStringList opened_folders;
  TrawlerFlow::Settings settings;
  settings.signature_file = salvor::testing::SourceDir() / "samples" / "Signature";
  settings.disks.list = [](Host&) { return std::vector<DiskListEntry>{}; };
  settings.open_folder = [&](const QString& folder) { opened_folders << folder; };
  TrawlerFlow flow(settings);
  flow.Start();

  ASSERT_TRUE(WaitFor([&] { return flow.current() != nullptr && flow.current()->isVisible(); }));
  Named<QPushButton>(flow.current(), QStringLiteral("OK"))->click();

  // The fixture is carved as an image file.
  auto* disks = WaitForPage<CSelectPhysicalDiskDialog>(flow);
  ASSERT_NE(disks, nullptr);
  auto* tree = Named<QTreeWidget>(disks, QStringLiteral("Disks"));
  tree->setCurrentItem(tree->findItems(Text(text::kImageFileEntry), Qt::MatchExactly | Qt::MatchRecursive).first());
  boxes.OnModal("QFileDialog", [](QWidget* chooser) {
    chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(QString::fromStdString(FixtureImage().string()));
    static_cast<QDialog*>(chooser)->accept();
  });
  Named<QPushButton>(disks, QStringLiteral("Next"))->click();

  // Types: a size of 0 is refused; every type, at most 1 KB where unmeasured.
  auto* types = WaitForPage<CVarnokKnownFileTypes>(flow);
  ASSERT_NE(types, nullptr);
  auto* next = Named<QPushButton>(types, QStringLiteral("Next"));
  auto* size = Named<QLineEdit>(types, QStringLiteral("Maximum file size"));
  size->selectAll();
  QTest::keyClicks(size, QStringLiteral("0"));
  EXPECT_TRUE(boxes.Saw(Text(text::kSizeRange)));
  EXPECT_FALSE(next->isEnabled());
  size->selectAll();
  QTest::keyClicks(size, QStringLiteral("1"));
  Named<QPushButton>(types, QStringLiteral("Deselect All"))->click();
  EXPECT_FALSE(next->isEnabled());
  Named<QPushButton>(types, QStringLiteral("Select All"))->click();
  EXPECT_TRUE(next->isEnabled());
  Screenshot(types, QStringLiteral("03-file-types"));
  Named<QPushButton>(types, QStringLiteral("Help"))->click();
  auto* help = types->findChild<CHelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("maximum file size")));
  Screenshot(help, QStringLiteral("03-help"));
  help->close();
  next->click();

  // The scan: paused before its second window, resumed, a stop declined.
  auto* scan = qobject_cast<CVarnokDFRProcessingDialog*>(flow.current());
  ASSERT_NE(scan, nullptr);
  QCoreApplication::sendPostedEvents(scan, QEvent::MetaCall);  // the worker starts
  ASSERT_TRUE(scan->WorkerRunning());
  auto* pause = Named<QPushButton>(scan, QStringLiteral("Pause"));
  auto* stop = Named<QPushButton>(scan, QStringLiteral("Stop"));
  pause->click();
  Settle(300);
  EXPECT_TRUE(scan->WorkerRunning());
  EXPECT_EQ(pause->text(), Text(text::kResume));
  EXPECT_FALSE(stop->isEnabled());
  Screenshot(scan, QStringLiteral("04-processing-paused"));
  pause->click();
  EXPECT_TRUE(stop->isEnabled());
  boxes.Answer(QStringLiteral("stop scanning"), QMessageBox::No);
  stop->click();
  EXPECT_TRUE(boxes.Saw(Text(Format(text::kStopQuestion, text::kProcessScanning))));

  auto* found = WaitForPage<CVarnokDataFoundDialog>(flow);
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(flow.session().scan.completed);
  EXPECT_TRUE(boxes.Saw(Text(text::kScanningCompleted)));
  ASSERT_TRUE(WaitFor([&] { return boxes.Saw(Text(text::kCheckAndSave)); }));

  // Every file planted at a sector start is in the tree.
  FoundTreeModel& model = found->model();
  const auto files = FilesOf(model);
  std::map<std::uint64_t, const FoundNode*> by_start;
  for (const FoundNode* f : files) by_start[f->StartSector()] = f;
  for (const auto& [sector, p] : planted) EXPECT_TRUE(by_start.count(sector)) << "sector " << sector;
  // Types without an end handler are marked.
  const FoundNode* jpeg = by_start.at(162);
  EXPECT_EQ(jpeg->name, "162.jpg");
  EXPECT_TRUE(model.LengthMeasured(*jpeg));
  EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const FoundNode* f) {
    return model.data(model.IndexOf(f, FoundTreeModel::kNoteColumn)).toString() ==
           Text(text::kLengthNotMeasured);
  }));

  // Checks: one file of a folder makes it partly checked, all of them checked.
  const QModelIndex jpg_folder = model.IndexOf(jpeg->parent);
  model.setData(model.IndexOf(jpeg), Qt::Checked, Qt::CheckStateRole);
  EXPECT_EQ(model.data(jpg_folder, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::PartiallyChecked);
  EXPECT_EQ(model.totals().selected_files, 1u);
  const QModelIndex raw_data = model.index(0, 0);
  model.setData(raw_data, Qt::Checked, Qt::CheckStateRole);
  EXPECT_EQ(model.data(jpg_folder, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  EXPECT_EQ(model.totals().selected_files, files.size());
  model.setData(model.IndexOf(jpeg), Qt::Unchecked, Qt::CheckStateRole);
  EXPECT_EQ(model.data(raw_data, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::PartiallyChecked);
  model.setData(model.IndexOf(jpeg), Qt::Checked, Qt::CheckStateRole);
  EXPECT_EQ(Named<QLabel>(found, QStringLiteral("Selected Files"))->text(),
            Text(Format(text::kSelectedFiles, static_cast<unsigned long long>(files.size()))));

  // Find: the pattern ignores case; an empty size is refused.
  found->OnFind();
  auto* find = found->findChild<CFindDialog*>();
  ASSERT_NE(find, nullptr);
  Named<QGroupBox>(find, QStringLiteral("Size"))->setChecked(true);
  find->OnSearchNow();
  EXPECT_TRUE(boxes.Saw(Text(text::kProvideSizeKB)));
  Named<QGroupBox>(find, QStringLiteral("Size"))->setChecked(false);
  Named<QLineEdit>(find, QStringLiteral("Find What"))->setText(QStringLiteral("162.JPG"));
  Screenshot(find, QStringLiteral("06-find"));
  find->OnSearchNow();
  find->hide();
  const QModelIndex hit = found->file_view()->currentIndex();
  EXPECT_EQ(hit.data().toString(), QStringLiteral("162.jpg"));
  Screenshot(found, QStringLiteral("05-found-files"));

  // Previews: the JPEG as an image, a ZIP archive in hex.
  found->OnPreview();
  ASSERT_TRUE(WaitFor([&] {
    auto* view = found->previews().empty() ? nullptr : qobject_cast<CImageViewWindow*>(found->previews().back());
    return view != nullptr && !view->image().isNull();
  }));
  Screenshot(found->previews().back(), QStringLiteral("07-preview-image"));
  Named<QLineEdit>(find, QStringLiteral("Find What"))->setText(QStringLiteral("16.zip"));
  find->OnSearchNow();
  found->OnPreview();
  CHexView* hex = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (hex = qobject_cast<CHexView*>(found->previews().back())) != nullptr; }));
  EXPECT_TRUE(hex->LineText(0).startsWith(QStringLiteral("Line 00000000:    50 4B 03 04 ")));
  EXPECT_EQ(hex->LineCount(), (by_start.at(16)->length + 31) / 32);
  Screenshot(hex, QStringLiteral("07-preview-hex"));

  // Saved to a folder, then into archives.
  FillSheet(boxes, scratch.path() / "plain", false);
  Named<QPushButton>(found, QStringLiteral("Save"))->click();
  auto* found_again = WaitForPage<CVarnokDataFoundDialog>(flow, found);
  ASSERT_NE(found_again, nullptr);
  EXPECT_TRUE(boxes.Saw(Text(text::kSavingCompleted)));
  ASSERT_EQ(opened_folders.size(), 1);
  EXPECT_EQ(opened_folders[0].toStdString(), (scratch.path() / "plain" / "DataKLT0").string());
  const auto plain = Saved(scratch.path() / "plain", false);
  EXPECT_EQ(plain.size(), files.size());
  EXPECT_GT(CheckAgainstManifest(plain, planted), 20);

  FillSheet(boxes, scratch.path() / "zipped", true);
  Named<QPushButton>(found_again, QStringLiteral("Save"))->click();
  auto* found_third = WaitForPage<CVarnokDataFoundDialog>(flow, found_again);
  ASSERT_NE(found_third, nullptr);
  EXPECT_TRUE(boxes.Saw(Text(text::kSavingCompletedCompressed)));
  const auto zipped = Saved(scratch.path() / "zipped", true);
  EXPECT_EQ(zipped.size(), files.size());
  EXPECT_EQ(CheckAgainstManifest(zipped, planted), CheckAgainstManifest(plain, planted));

  // Back to the types and a second scan, stopped at once: what was found stays.
  Named<QPushButton>(found_third, QStringLiteral("Back"))->click();
  auto* types_again = WaitForPage<CVarnokKnownFileTypes>(flow);
  ASSERT_NE(types_again, nullptr);
  Named<QPushButton>(types_again, QStringLiteral("Next"))->click();
  auto* rescan = qobject_cast<CVarnokDFRProcessingDialog*>(flow.current());
  ASSERT_NE(rescan, nullptr);
  QCoreApplication::sendPostedEvents(rescan, QEvent::MetaCall);
  boxes.Answer(QStringLiteral("stop scanning"), QMessageBox::Yes);
  Named<QPushButton>(rescan, QStringLiteral("Stop"))->click();
  ASSERT_NE(WaitForPage<CVarnokDataFoundDialog>(flow, found_third), nullptr);
  EXPECT_FALSE(flow.session().scan.completed);
  EXPECT_LT(flow.session().scan.files_found, files.size());

  // Salvor closing during a scan ends the road once the scan has stopped.
  Named<QPushButton>(flow.current(), QStringLiteral("Back"))->click();
  Named<QPushButton>(WaitForPage<CVarnokKnownFileTypes>(flow), QStringLiteral("Next"))->click();
  auto* last_scan = qobject_cast<CVarnokDFRProcessingDialog*>(flow.current());
  ASSERT_NE(last_scan, nullptr);
  QCoreApplication::sendPostedEvents(last_scan, QEvent::MetaCall);
  bool ended = false;
  QObject::connect(&flow, &TrawlerFlow::finished, [&] { ended = true; });
  flow.Close();
  EXPECT_TRUE(WaitFor([&] { return ended && flow.current() == nullptr; }));
}

TEST(TrawlerSaveLimits, LeavesOutFilesBySizeAndTypeBeforeSaving) {
  salvor::testing::ScratchDir scratch;
  BoxAnswerer boxes;
  TrawlerSession session;
  ASSERT_TRUE(OpenCarveDisk(session.disk, FixtureImage().string()).ok);
  auto database = LoadSignatureFile(salvor::testing::SourceDir() / "samples" / "Signature");
  ASSERT_TRUE(database);
  for (auto& rec : *database) rec.selected = 1;
  session.selected = KeepSelected(*database, 1024);
  salvor::testing::RecordingHost host;
  RunControl run;
  ContinuationLists lists;
  session.scan = RunCarvingScan(session.disk, session.selected, lists, host, run);
  CheckAll(*session.scan.tree.root);

  CVarnokDataFoundDialog page(session);
  page.show();
  boxes.OnModal("salvor::carver::ui::CSavingOptionsSheet", [&](QWidget* sheet) {
    Named<QLineEdit>(sheet, QStringLiteral("Location to save data"))
        ->setText(QString::fromStdString(scratch.path().string()));
    Named<QGroupBox>(sheet, QStringLiteral("Ignore these file types before saving"))->setChecked(true);
    auto* extension = Named<QLineEdit>(sheet, QStringLiteral("Extension to ignore"));
    auto* add = Named<QPushButton>(sheet, QStringLiteral("Add to list"));
    add->click();
    extension->setText(QStringLiteral("a/b"));
    add->click();
    extension->setText(QStringLiteral(".JPG"));
    add->click();
    extension->setText(QStringLiteral("jpg"));
    add->click();
    Named<QGroupBox>(sheet, QStringLiteral("Leave out files by size"))->setChecked(true);
    Named<QSpinBox>(sheet, QStringLiteral("Smaller than"))->setValue(2);
    Named<QSpinBox>(sheet, QStringLiteral("Larger than"))->setValue(20);
    Screenshot(sheet, QStringLiteral("09-saving-options-limits"));
    Named<QPushButton>(sheet, QStringLiteral("OK"))->click();
  });
  page.OnSave();
  EXPECT_EQ(page.result(), kPageSave);
  EXPECT_TRUE(boxes.Saw(Text(text::kExtensionEmptyOrListed)));
  EXPECT_TRUE(boxes.Saw(Text(text::kExtensionBadCharacters)));
  EXPECT_EQ(session.save.excluded, std::vector<std::string>{"JPG"});

  int kept = 0;
  ForEachFile(*session.scan.tree.root, [&](const FoundNode& f) {
    const bool in_range = f.length >= 2048 && f.length <= 20480;
    const bool jpeg = f.name.ends_with(".jpg");
    EXPECT_EQ(f.checked != 0, in_range && !jpeg) << f.name << " " << f.length;
    kept += f.checked != 0;
  });
  ASSERT_GT(kept, 3);
  EXPECT_EQ(page.model().totals().selected_files, static_cast<quint64>(kept));

  CVarnokDFRProcessingDialog save(CVarnokDFRProcessingDialog::Mode::kSave, session);
  save.show();
  ASSERT_TRUE(WaitFor([&] { return save.result() == QDialog::Accepted; }));
  Screenshot(&save, QStringLiteral("10-processing-saved"));
  const auto saved = Saved(scratch.path(), false);
  EXPECT_EQ(saved.size(), static_cast<std::size_t>(kept));
  for (const auto& [name, file] : saved) {
    EXPECT_GE(file.first, 2048u);
    EXPECT_LE(file.first, 20480u);
  }
}

}  // namespace
}  // namespace salvor::carver::ui

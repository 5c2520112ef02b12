// How long the file list takes to show a folder of 100,000 files, offscreen:
// the model's fill from the scan database plus the view's first paint.
//   gui_list_folder [FILES]
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "disk/host.h"
#include "ntfs/folder_map.h"
#include "ntfs/scan_database.h"
#include "ntfs/scan_database_reader.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"

namespace {

// A database whose root folder holds `files` files named file-<n>.dat.
bool MakeDatabase(const std::filesystem::path& folder, std::uint32_t files) {
  salvor::SilentHost host;
  salvor::ScanDatabaseWriter db(host);
  if (!salvor::CreateDatabase(db, folder)) return false;
  const salvor::FolderNode root = db.folders.at(salvor::kRootRecord);
  for (std::uint32_t n = 2; n < files + 2; ++n) {
    salvor::EntryInfo entry;
    entry.entry_number = n;
    entry.size = n * 37;
    entry.flags = salvor::kEntryPresent;
    const std::string name = "file-" + std::to_string(n) + ".dat";
    entry.name_length = static_cast<std::uint16_t>(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) entry.name[i] = static_cast<char16_t>(name[i]);
    salvor::AppendEntry(db, entry);
    salvor::AddChild(db, root, n);
  }
  salvor::WriteBlock(db);  // the last block of the list is still in the buffer
  return salvor::CloseDatabase(db);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::uint32_t files = argc > 1 ? static_cast<std::uint32_t>(std::stoul(argv[1])) : 100000;
  QTemporaryDir dir;
  if (!MakeDatabase(dir.path().toStdString(), files)) return 1;
  salvor::ScanDatabaseReader reader;
  if (!reader.Open(dir.path().toStdString())) return 1;

  CFileListModel model;
  CVKNTFSListView view(&model);
  view.resize(1200, 700);
  view.show();
  QApplication::processEvents();
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    model.ShowFolder(reader, salvor::kRootEntry);
    const auto filled = std::chrono::steady_clock::now();
    view.repaint();
    QApplication::processEvents();
    const auto painted = std::chrono::steady_clock::now();
    model.sort(CFileListModel::kName, Qt::DescendingOrder);
    const auto sorted = std::chrono::steady_clock::now();
    using ms = std::chrono::duration<double, std::milli>;
    std::printf("%u files: fill %.1f ms, first paint %.1f ms, sort by name %.1f ms\n",
                static_cast<unsigned>(model.rowCount()), ms(filled - start).count(),
                ms(painted - filled).count(), ms(sorted - painted).count());
  }
  return 0;
}

#pragma once
// Saving and loading scan results: the partition scan information file
// (.vkt: source, volumes, chosen volume with its $MFT runs and the scan
// database) and the disk scan information file (.vkd: source and volumes).
// Every outcome is one process-log entry; nothing is shown in a message box.
// A loaded source is reopened read-only, like every source.

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

#include "disk/host.h"
#include "ntfs/engine_state.h"
#include "ntfs/scan_database_reader.h"

namespace salvor {

inline constexpr std::string_view kTreeInfoExtension = ".vkt";
inline constexpr std::string_view kDiskScanInfoExtension = ".vkd";

// "VK NTFS Scan Information # Wed, 09-Sept-2026": the name both save
// commands offer, from the local date.
std::string DefaultScanInfoName(const std::tm& local);

// The chosen name, with `extension` appended unless its last four characters
// are exactly that ("scan.VKT" becomes "scan.VKT.vkt").
std::filesystem::path WithScanInfoExtension(const std::filesystem::path& chosen,
                                            std::string_view extension);

// Writes the .vkt: the source, its volumes, the current volume and its $MFT
// runs from `state`, then the three database files of `database_folder`
// (which must be closed for writing). A file that cannot be written whole is
// removed.
bool SaveTreeInfo(const std::filesystem::path& chosen, const EngineState& state,
                  const std::filesystem::path& database_folder, Host& host);
// Writes the .vkd: the source and its volumes.
bool SavePartitionInfo(const std::filesystem::path& chosen, const EngineState& state, Host& host);

// Reads a .vkt: reopens its source, restores volumes, current volume and
// runs into `state`, writes the three database files into `database_folder`
// and opens `db` on them for reading. The file is checked whole before
// anything is changed.
bool LoadTreeInfo(const std::filesystem::path& file, EngineState& state, ScanDatabaseReader& db,
                  const std::filesystem::path& database_folder, Host& host);
// Reads a .vkd: reopens its source and restores its volume list.
bool LoadPartitionInfo(const std::filesystem::path& file, EngineState& state, Host& host);

}  // namespace salvor

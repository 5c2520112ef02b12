#pragma once
// Reading one found file for its preview, on a thread of its own so that a
// slow disk never stalls the window. Files above 30 MiB are not read.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

namespace salvor::carver {
struct CarveDisk;
struct FoundNode;
}  // namespace salvor::carver

namespace salvor::carver::ui {

inline constexpr std::uint64_t kPreviewLimit = 31457280;  // 30 MiB

// True when the image reader knows the file's extension.
bool IsImageName(const QString& name);

// Reads the file's bytes and calls `done` with them on `owner`'s thread;
// failures (shown to the user) give an empty array. The disk must stay open
// until `done` has run.
void LoadPreviewBytes(CarveDisk& disk, const FoundNode& file, QWidget* owner,
                      std::function<void(const QByteArray&)> done);

}  // namespace salvor::carver::ui

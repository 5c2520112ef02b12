#pragma once
// The steps the clone and image pages share before a copy is handed over.

#include <cstdint>
#include <string>

#include "ui/wizard/wizard_task.h"

class QWidget;

namespace salvor::ui {

class CWizardSheet;

// A number of the disk list's texts; 0 when it is not one.
std::uint64_t DiskNumber(const std::string& text);
// Opens disk `disk` of the list as the engine's source with the list's
// geometry and fills the task's source fields. Shows why not and returns false.
bool OpenCopySource(CWizardSheet& sheet, int disk, WizardTask& task);
// Opens task.destination_path for writing: a clone target as it is, an image
// file created anew. Shows why not and returns false.
bool OpenCopyDestination(QWidget* parent, WizardTask& task, bool image);

}  // namespace salvor::ui

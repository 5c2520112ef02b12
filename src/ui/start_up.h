#pragma once
// The desktop program's start-up, from the single-instance check to the
// event loop. `args` are the command-line arguments after the program name:
//   [--nologo] [IMAGE-OR-DEVICE [--volume N]]
// Returns the exit status; 1 when another copy runs (after telling the user).

#include <QStringList>

int RunSalvor(QStringList args);

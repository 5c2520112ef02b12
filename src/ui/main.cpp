#include <QApplication>

#include "ui/start_up.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return RunSalvor(QApplication::arguments().mid(1));
}

#include "ui/shell/pelmo_main.h"

namespace wachtrix::ui {

TPelmoMain::TPelmoMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("PelmoMain");
    setWindowTitle("Wachtrix");
}

}  // namespace wachtrix::ui

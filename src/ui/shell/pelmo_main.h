#pragma once

#include <QMainWindow>

namespace wachtrix::ui {

// The main window of the program.
class TPelmoMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TPelmoMain(QWidget* parent = nullptr);
};

}  // namespace wachtrix::ui

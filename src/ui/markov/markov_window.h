#pragma once

#include <QWidget>

#include "ui/common/module_window.h"

class QMenu;

namespace wachtrix::ui {

// The Markov module window: carries only a menu; the work is done in its dialog.
class TMarkov : public QWidget, public ModuleWindow {
    Q_OBJECT
public:
    explicit TMarkov(QWidget* parent = nullptr);
    QMenu* fileMenu() override { return fileMenu_; }
    QMenu* helpMenu() override { return helpMenu_; }

private:
    QMenu* fileMenu_;
    QMenu* helpMenu_;
};

}  // namespace wachtrix::ui

#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/common/module_window.h"

class QMenu;

namespace wachtrix::ui {

class TMarkovKeuzeDialoog;

// The Markov module window: carries only a menu; the work is done in its dialog, which lives
// exactly as long as the window.
class TMarkov : public QWidget, public ModuleWindow {
    Q_OBJECT
public:
    explicit TMarkov(QWidget* parent = nullptr);
    QMenu* fileMenu() override { return fileMenu_; }
    QMenu* helpMenu() override { return helpMenu_; }

    TMarkovKeuzeDialoog* dialog() const;

    // "Close &Markov Chains", "&Quit" and the dialog's close box: close after asking, in a box
    // above the window the user acted in (the program's window for the menu).
    void CloseMarkovClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void requestClose(QWidget* askOver);

    QMenu* fileMenu_;
    QMenu* helpMenu_;
    QPointer<TMarkovKeuzeDialoog> dialog_;
    bool AskBeforeClose = false;  // the user asked to close the module
    QPointer<QWidget> askOver_;   // the window the user asked in
    bool Closing = false;         // the window is closing; its dialog may go
    bool dialogShown_ = false;
};

}  // namespace wachtrix::ui

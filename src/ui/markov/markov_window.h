#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/common/module_window.h"

class QMenu;

namespace wachtrix::ui {

class AppSettings;
class TMarkovKeuzeDialoog;

// The Markov module window: carries only the menus; the work is done in its dialog, which lives
// exactly as long as the window. The menu commands with a shortcut work from the dialog too.
class TMarkov : public QWidget, public ModuleWindow {
    Q_OBJECT
public:
    // With settings, the dialog remembers itself from session to session (see
    // TMarkovKeuzeDialoog) and "Recent &Chains" lists the chains last opened or saved.
    explicit TMarkov(QWidget* parent = nullptr, AppSettings* settings = nullptr);
    QMenu* fileMenu() override { return fileMenu_; }
    QMenu* editMenu() override { return editMenu_; }
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
    void listRecentChains();  // "Recent &Chains", as the "&File" menu opens

    AppSettings* settings_;
    QMenu* fileMenu_;
    QMenu* recentMenu_;
    QMenu* editMenu_;
    QMenu* helpMenu_;
    QPointer<TMarkovKeuzeDialoog> dialog_;
    bool AskBeforeClose = false;  // the user asked to close the module
    QPointer<QWidget> askOver_;   // the window the user asked in
    bool Closing = false;         // the window is closing; its dialog may go
    bool dialogShown_ = false;
};

}  // namespace wachtrix::ui

#include "ui/markov/markov_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QShowEvent>

#include "ui/common/app_settings.h"
#include "ui/common/dialogs.h"
#include "ui/common/help.h"
#include "ui/markov/markov_keuze_dialoog.h"

namespace wachtrix::ui {

TMarkov::TMarkov(QWidget* parent, AppSettings* settings)
    : QWidget(parent),
      settings_(settings),
      fileMenu_(new QMenu("&File", this)),
      recentMenu_(new QMenu("Recent &Chains", fileMenu_)),
      editMenu_(new QMenu("&Edit", this)),
      helpMenu_(new QMenu("&Help", this)) {
    setObjectName("Markov");
    setWindowTitle("Markov Chains");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(320, 60);
    dialog_ = new TMarkovKeuzeDialoog(this, settings);
    connect(dialog_, &TMarkovKeuzeDialoog::quitRequested, this, [this] { requestClose(dialog_); });

    // Added to the dialog as well, so that their keys work while it is the active window.
    const auto command = [this](QMenu* menu, const char* name, const QString& text,
                                QKeySequence::StandardKey keys, auto slot) {
        QAction* action = menu->addAction(text, this, slot);
        action->setObjectName(name);
        action->setShortcuts(keys);
        dialog_->addAction(action);
        return action;
    };
    command(fileMenu_, "OpenChain1", "&Open Chain...", QKeySequence::Open,
            [this] { dialog_->OpenBtnClick(); });
    command(fileMenu_, "SaveChain1", "&Save Chain...", QKeySequence::Save,
            [this] { dialog_->SaveBtnClick(); });
    recentMenu_->menuAction()->setObjectName("RecentChains1");
    fileMenu_->addMenu(recentMenu_);
    connect(fileMenu_, &QMenu::aboutToShow, this, &TMarkov::listRecentChains);
    listRecentChains();
    fileMenu_->addSeparator();
    fileMenu_->addAction("Close &Markov Chains", this, &TMarkov::CloseMarkovClick)
        ->setObjectName("CloseMarkov1");
    fileMenu_->addAction("Close &Wachtrix", this, [this] { window()->close(); })
        ->setObjectName("Exit1");
    editMenu_->addAction(dialog_->undoAction());
    editMenu_->addAction(dialog_->redoAction());
    command(helpMenu_, "HelpContent1", "&Help Content", QKeySequence::HelpContents,
            [this] { ShowHelpContext(kMarkovHelp, this); });
}

// Newest first, numbered for the keyboard; empty and disabled without settings.
void TMarkov::listRecentChains() {
    recentMenu_->clear();
    const QStringList files = settings_ ? settings_->recentChains() : QStringList();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files[i];
        QAction* open =
            recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(file)),
                                   this, [this, file] { dialog_->OpenRecentChain(file); });
        open->setObjectName("RecentChainItem");
        open->setData(file);
    }
    recentMenu_->menuAction()->setEnabled(!files.isEmpty());
}

void TMarkov::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown with the window, once it has its place, so that the dialog is centred on it.
    if (!dialogShown_ && dialog_) {
        dialogShown_ = true;
        dialog_->show();
    }
}

TMarkovKeuzeDialoog* TMarkov::dialog() const {
    return dialog_;
}

void TMarkov::CloseMarkovClick() {
    requestClose(window());
}

void TMarkov::requestClose(QWidget* askOver) {
    AskBeforeClose = true;
    askOver_ = askOver;
    close();
}

void TMarkov::closeEvent(QCloseEvent* event) {
    if (Closing) {
        event->accept();
        return;
    }
    // Only a close the user asked for is questioned; when the program ends the module just goes.
    if (AskBeforeClose) {
        AskBeforeClose = false;
        if (Dialogs::show(askOver_ ? askOver_.data() : this, DialogKind::Confirm, "Confirm",
                          "Do you want to quit from Markov Chains?") != DialogButton::Yes) {
            event->ignore();
            return;
        }
    }
    Closing = true;
    if (dialog_) {
        dialog_->SaveSettings();
        dialog_->SetOwnerClosing();
        dialog_->hide();
        // Later: the close may have come from one of the dialog's own handlers.
        dialog_->deleteLater();
    }
    event->accept();
}

}  // namespace wachtrix::ui

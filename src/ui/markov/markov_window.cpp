#include "ui/markov/markov_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QShowEvent>

#include "ui/common/dialogs.h"
#include "ui/common/help.h"
#include "ui/markov/markov_keuze_dialoog.h"

namespace wachtrix::ui {

TMarkov::TMarkov(QWidget* parent)
    : QWidget(parent), fileMenu_(new QMenu("&File", this)), helpMenu_(new QMenu("&Help", this)) {
    setObjectName("Markov");
    setWindowTitle("Markov Chains");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(320, 60);
    fileMenu_->addAction("Close &Markov Chains", this, &TMarkov::CloseMarkovClick);
    fileMenu_->addAction("Close &Wachtrix", this, [this] { window()->close(); });
    helpMenu_->addAction("&Help Content", this, [this] { ShowHelpContext(kMarkovHelp, this); });

    dialog_ = new TMarkovKeuzeDialoog(this);
    connect(dialog_, &TMarkovKeuzeDialoog::quitRequested, this, [this] { requestClose(dialog_); });
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
        dialog_->SetOwnerClosing();
        dialog_->hide();
        // Later: the close may have come from one of the dialog's own handlers.
        dialog_->deleteLater();
    }
    event->accept();
}

}  // namespace wachtrix::ui

#include "ui/markov/markov_window.h"

#include <QMenu>

#include "ui/common/help.h"

namespace wachtrix::ui {

TMarkov::TMarkov(QWidget* parent)
    : QWidget(parent), fileMenu_(new QMenu("&File", this)), helpMenu_(new QMenu("&Help", this)) {
    setObjectName("Markov");
    setWindowTitle("Markov Chains");
    setAttribute(Qt::WA_DeleteOnClose);
    fileMenu_->addAction("Close &Markov Chains", this, [this] { close(); });
    fileMenu_->addAction("Close &Wachtrix", this, [this] { window()->close(); });
    helpMenu_->addAction("&Help Content", this, [this] { ShowHelpContext(13, this); });
}

}  // namespace wachtrix::ui

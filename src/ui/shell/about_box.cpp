#include "ui/shell/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wachtrix::ui {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent),
      notes_(new QPlainTextEdit(this)),
      modificaties_(new QPushButton("Modificaties", this)) {
    setObjectName("AboutBox");
    setWindowTitle("Informatie");

    auto* product = new QLabel("Wachtrix", this);
    product->setObjectName("ProductName");
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel("Versie: 2.0", this);
    version->setObjectName("Version");
    auto* purpose = new QLabel("Queueing models and Markov chains", this);
    purpose->setObjectName("Comments");

    notes_->setObjectName("Memo1");
    notes_->setReadOnly(true);
    notes_->setPlainText(
        "2.0  Queue module with ten models; Markov chains in discrete and continuous time;\n"
        "     help pages within the program; printing of the results.");
    notes_->hide();
    modificaties_->setObjectName("ModificatiesButton");
    modificaties_->hide();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
    connect(modificaties_, &QPushButton::clicked, this, &TAboutBox::ModificatiesButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(modificaties_);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(purpose, 0, Qt::AlignHCenter);
    layout->addWidget(notes_);
    layout->addLayout(buttons);
}

void TAboutBox::OKButtonClick() {
    notes_->hide();
    accept();
}

void TAboutBox::ModificatiesButtonClick() {
    const bool show = notes_->isHidden();
    notes_->setVisible(show);
    modificaties_->setText(show ? "Info" : "Modificaties");
}

}  // namespace wachtrix::ui

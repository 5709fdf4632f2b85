#include "ui/shell/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>
#include <version>

namespace wachtrix::ui {

QString ProgramVersion() {
    return WACHTRIX_VERSION;
}

// The libraries the program links (Qt's modules, dynamically) and the C++ runtime the compiler
// brings with it.
QString LibraryLicences() {
    QString text = QString(
                       "Wachtrix uses these libraries:\n\n"
                       "Qt %1 (Core, GUI, Widgets, Print Support, SVG), (c) The Qt Company Ltd "
                       "and other contributors, under the GNU Lesser General Public License "
                       "version 3 (LGPL-3.0). Qt is linked dynamically: it can be replaced by "
                       "another build of a compatible version. Its source is at "
                       "https://download.qt.io/. \"About Qt\" tells more.\n\n")
                       .arg(qVersion());
#if defined(_LIBCPP_VERSION)
    text +=
        "The LLVM C++ standard library (libc++), under the Apache License 2.0 with LLVM "
        "Exceptions.";
#else
    text +=
        "The GNU C++ standard library (libstdc++) and the GCC runtime library (libgcc), under the "
        "GNU General Public License version 3 with the GCC Runtime Library Exception 3.1, which "
        "lets programs compiled with GCC be distributed under terms of their own.";
#endif
    return text;
}

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
    auto* version = new QLabel("Versie: " + ProgramVersion(), this);
    version->setObjectName("Version");
    auto* purpose = new QLabel("Queueing models and Markov chains", this);
    purpose->setObjectName("Comments");
    auto* licences = new QPlainTextEdit(LibraryLicences(), this);
    licences->setObjectName("Licences");
    licences->setReadOnly(true);
    licences->setMinimumSize(420, 150);
    auto* aboutQt = new QPushButton("About &Qt...", this);
    aboutQt->setObjectName("AboutQtButton");
    connect(aboutQt, &QPushButton::clicked, this, [this] { QMessageBox::aboutQt(this); });

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
    buttons->addWidget(aboutQt);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(purpose, 0, Qt::AlignHCenter);
    layout->addWidget(licences);
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

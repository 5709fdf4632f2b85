#include "ui/common/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace wachtrix::ui {
namespace {

// The test seam; empty in the program.
Dialogs::Responder& responder() {
    static Dialogs::Responder r;
    return r;
}
Dialogs::FileResponder& fileResponder() {
    static Dialogs::FileResponder r;
    return r;
}

// "a (*.txt)|*.txt|b (*.*)|*.*" -> "a (*.txt);;b (*.*)"
QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList names;
    for (int i = 0; i < parts.size(); i += 2)
        names << parts[i];
    return names.join(";;");
}

}  // namespace

void Dialogs::setResponder(Responder r) {
    responder() = std::move(r);
}
void Dialogs::setFileResponder(FileResponder r) {
    fileResponder() = std::move(r);
}

DialogButton Dialogs::show(QWidget* parent, DialogKind kind, const QString& title,
                           const QString& text) {
    if (responder()) return responder()({kind, title, text});
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (kind) {
        case DialogKind::Error:
            box.setIcon(QMessageBox::Critical);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case DialogKind::ErrorOkCancel:
            box.setIcon(QMessageBox::Critical);
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case DialogKind::Information:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case DialogKind::Confirm:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case DialogKind::DutchConfirm: {
            box.setIcon(QMessageBox::Question);
            QPushButton* yes = box.addButton("&Ja", QMessageBox::YesRole);
            box.addButton("&Nee", QMessageBox::NoRole);
            box.exec();
            return box.clickedButton() == yes ? DialogButton::Yes : DialogButton::No;
        }
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return DialogButton::Ok;
        case QMessageBox::Yes:
            return DialogButton::Yes;
        case QMessageBox::No:
            return DialogButton::No;
        default:
            return DialogButton::Cancel;
    }
}

QString Dialogs::chooseFile(QWidget* parent, const FileDialogRequest& request) {
    if (fileResponder()) return fileResponder()(request);
    QFileDialog dialog(parent, request.title, request.directory, QtFilter(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace wachtrix::ui

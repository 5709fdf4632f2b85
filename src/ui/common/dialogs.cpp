#include "ui/common/dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
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

// One file type of a filter: its name and its extensions ("*.*" has none).
struct FileType {
    QString name;
    QStringList extensions;
};

// "a (*.txt)|*.txt|b (*.html *.htm)|*.html;*.htm|c (*.*)|*.*"
//   -> {a, {txt}}, {b, {html, htm}}, {c, {}}
QList<FileType> FileTypes(const QString& filter) {
    const QStringList parts = filter.split('|');
    QList<FileType> types;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        FileType type{parts[i], {}};
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString extension = pattern.trimmed().section("*.", 1);
            if (!extension.isEmpty() && !extension.contains('*'))
                type.extensions << extension.toLower();
        }
        types << type;
    }
    return types;
}

QString QtFilter(const QList<FileType>& types) {
    QStringList names;
    for (const FileType& type : types)
        names << type.name;
    return names.join(";;");
}

// The type of that name; the first for an empty or unknown name.
FileType TypeNamed(const QList<FileType>& types, const QString& name) {
    for (const FileType& type : types)
        if (type.name == name) return type;
    return types.value(0);
}

}  // namespace

void Dialogs::setResponder(Responder r) {
    responder() = std::move(r);
}
void Dialogs::setFileResponder(FileResponder r) {
    fileResponder() = std::move(r);
}

QString ChosenFileName(const FileDialogRequest& request, const FileChoice& choice) {
    if (choice.fileName.isEmpty() || !request.save) return choice.fileName;
    const QList<FileType> types = FileTypes(request.filter);
    const QString suffix = QFileInfo(choice.fileName).suffix().toLower();
    for (const FileType& type : types)
        if (type.extensions.contains(suffix)) return choice.fileName;
    const FileType type = TypeNamed(types, choice.filter);
    const QString extension = !type.extensions.isEmpty() ? type.extensions.first()
                              : suffix.isEmpty()         ? request.defaultSuffix
                                                         : QString();
    return extension.isEmpty() ? choice.fileName : choice.fileName + '.' + extension;
}

DialogButton Dialogs::show(QWidget* parent, DialogKind kind, const QString& title,
                           const QString& text) {
    if (responder()) return responder()({kind, title, text, parent});
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
    if (fileResponder()) return ChosenFileName(request, fileResponder()(request));
    const QList<FileType> types = FileTypes(request.filter);
    QFileDialog dialog(parent, request.title, request.directory, QtFilter(types));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The selected type gives a bare name its extension, so that the dialog asks about
    // replacing the file that will be written.
    const auto follow = [&](const QString& typeName) {
        dialog.setDefaultSuffix(
            TypeNamed(types, typeName).extensions.value(0, request.defaultSuffix));
    };
    follow(QString());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return ChosenFileName(request, {dialog.selectedFiles().first(), dialog.selectedNameFilter()});
}

}  // namespace wachtrix::ui

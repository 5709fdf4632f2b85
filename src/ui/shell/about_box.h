#pragma once
// The "Informatie" box: product name and version, the licences of the libraries the program
// runs on, and a hidden memo of change notes.

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

namespace wachtrix::ui {

// The project's version as CMake's project() gives it, "2.0".
QString ProgramVersion();

// Which libraries the running program uses and under which licences, as plain text.
QString LibraryLicences();

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void OKButtonClick();
    void ModificatiesButtonClick();  // shows or hides the change notes

private:
    QPlainTextEdit* notes_;
    QPushButton* modificaties_;
};

}  // namespace wachtrix::ui

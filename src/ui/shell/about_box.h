#pragma once
// The "Informatie" box: product name and version, with a hidden memo of change notes.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace wachtrix::ui {

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

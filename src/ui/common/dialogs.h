#pragma once
// Every modal box and file dialog of the program goes through here, so that tests can answer
// them without showing anything (no timers racing the event loop).

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace wachtrix::ui {

enum class DialogKind {
    Error,          // error icon, OK
    ErrorOkCancel,  // the queue validation box: OK and Cancel
    Confirm,        // question, Yes and No
    DutchConfirm,   // the program's own Dutch box: title "Bevestiging", "&Ja" and "&Nee"
    Information,    // information icon, OK
};

enum class DialogButton { Ok, Cancel, Yes, No };

struct DialogRequest {
    DialogKind kind;
    QString title;
    QString text;
};

struct FileDialogRequest {
    bool save = false;
    QString title;
    QString filter;         // "tekstbestanden (*.txt)|*.txt|Alle bestanden (*.*)|*.*" style
    QString defaultSuffix;  // "txt"
    QString directory;
};

class Dialogs {
public:
    // Shows the box (or asks the test responder) and returns the button pressed.
    static DialogButton show(QWidget* parent, DialogKind kind, const QString& title,
                             const QString& text);

    // The chosen file name, empty when cancelled.
    static QString chooseFile(QWidget* parent, const FileDialogRequest& request);

    // Tests: answer instead of showing. An empty function restores the real dialogs.
    using Responder = std::function<DialogButton(const DialogRequest&)>;
    using FileResponder = std::function<QString(const FileDialogRequest&)>;
    static void setResponder(Responder responder);
    static void setFileResponder(FileResponder responder);
};

}  // namespace wachtrix::ui

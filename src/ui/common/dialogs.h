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
    QWidget* parent = nullptr;  // the window the box belongs to and shows above
};

struct FileDialogRequest {
    bool save = false;
    QString title;
    QString filter;         // "tekstbestanden (*.txt)|*.txt|Alle bestanden (*.*)|*.*" style
    QString defaultSuffix;  // "txt"
    QString directory;
};

// What the user picked in a file dialog: the name as typed and the file type selected (one name
// of the request's filter, "PDF files (*.pdf)"; empty: the first).
struct FileChoice {
    QString fileName;
    QString filter;
};

// The name a save dialog's choice stands for: a name ending in one of the offered extensions
// keeps it; otherwise the selected type's extension is added, or, under a type of any extension
// and for a name without one, the default suffix.
//   "results2", "PDF files (*.pdf)"  -> "results2.pdf"
//   "results2.txt", "PDF files (*.pdf)" -> "results2.txt"
//   "chain", "Alle bestanden (*.*)" with default "txt" -> "chain.txt"
QString ChosenFileName(const FileDialogRequest& request, const FileChoice& choice);

class Dialogs {
public:
    // Shows the box (or asks the test responder) and returns the button pressed.
    static DialogButton show(QWidget* parent, DialogKind kind, const QString& title,
                             const QString& text);

    // The chosen file name (see ChosenFileName), empty when cancelled.
    static QString chooseFile(QWidget* parent, const FileDialogRequest& request);

    // Tests: answer instead of showing. An empty function restores the real dialogs.
    using Responder = std::function<DialogButton(const DialogRequest&)>;
    using FileResponder = std::function<FileChoice(const FileDialogRequest&)>;
    static void setResponder(Responder responder);
    static void setFileResponder(FileResponder responder);
};

}  // namespace wachtrix::ui

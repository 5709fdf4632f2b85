#pragma once
// The application with its program-wide exception handler: an exception that reaches the event
// loop is swallowed and the program goes on. Only a bad index while the Markov module is open
// (the closest C++ has to an access violation: std::out_of_range from a checked index) hides
// the Markov progress dialog and tells the user to try again.
// It also keeps the C library's number format at "." whatever the user's locale.

#include <QApplication>
#include <QStringList>
#include <exception>

namespace wachtrix::ui {

// The program's own command-line options, read from the arguments Qt has left:
//   wachtrix --reset-settings    starts as the first time: what earlier sessions kept is forgotten
// --help and --version print their text and end the program; an unknown option ends it with an
// error.
struct ProgramOptions {
    bool resetSettings = false;
};
ProgramOptions ReadProgramOptions(const QStringList& arguments);

class TWachtrixApplication : public QApplication {
    Q_OBJECT
public:
    TWachtrixApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // What the handler does with an exception that reached the event loop.
    static void HandleException(std::exception_ptr error);
};

}  // namespace wachtrix::ui

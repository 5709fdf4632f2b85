#include "ui/shell/wachtrix_application.h"

#include <QCommandLineParser>
#include <QDebug>
#include <clocale>
#include <stdexcept>

#include "ui/common/dialogs.h"
#include "ui/markov/markov_progress.h"
#include "ui/shell/pelmo_main.h"

namespace wachtrix::ui {

ProgramOptions ReadProgramOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Calculator for queueing models and Markov chains.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption reset(
        "reset-settings",
        "Forget the window places, inputs, folders and recent chains of earlier sessions.");
    parser.addOption(reset);
    parser.process(arguments);
    return {parser.isSet(reset)};
}

TWachtrixApplication::TWachtrixApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // QApplication has just taken the user's locale for the C library, decimal comma included.
    // Our own numbers never consult it, but a library in the process might: numbers are written
    // with "." throughout.
    std::setlocale(LC_NUMERIC, "C");
}

bool TWachtrixApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

void TWachtrixApplication::HandleException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::out_of_range& bad) {
        qWarning() << "Wachtrix: operation abandoned:" << bad.what();
        if (PelmoMain && PelmoMain->MarkovOpen) {
            if (TMarkovProgress* progress = MarkovProgress()) progress->hide();
            Dialogs::show(PelmoMain, DialogKind::Error, "Error",
                          "Er is een initialisatiefout opgetreden.\n\nProbeer het opnieuw.");
        }
    } catch (const std::exception& other) {
        qWarning() << "Wachtrix: operation abandoned:" << other.what();
    } catch (...) {
        qWarning() << "Wachtrix: operation abandoned";
    }
}

}  // namespace wachtrix::ui

// The program-wide exception handler: what reaches the event loop is swallowed and the program
// goes on; a bad index while the Markov module is open says so in Dutch. And the application's
// number format.

#include <QPushButton>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "ui/common/dialog_recorder.h"
#include "ui/markov/markov_progress.h"
#include "ui/shell/pelmo_main.h"
#include "ui/shell/wachtrix_application.h"

using namespace wachtrix::ui;
using wachtrix::testing::DialogRecorder;

namespace {

// Throws the exception it is given whenever it receives a user event.
class Thrower : public QObject {
public:
    std::function<void()> toThrow;
    int handled = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        ++handled;
        if (toThrow) toThrow();
        return true;
    }
};

bool SendUserEvent(QObject* to) {
    QEvent event(QEvent::User);
    return QCoreApplication::sendEvent(to, &event);
}

}  // namespace

class ExceptionHandlerTest : public QObject {
    Q_OBJECT
private slots:
    void swallowsAndGoesOn() {
        DialogRecorder boxes;
        Thrower thrower;
        thrower.toThrow = [] { throw std::runtime_error("anything"); };
        QVERIFY(!SendUserEvent(&thrower));
        thrower.toThrow = [] { throw 42; };
        QVERIFY(!SendUserEvent(&thrower));
        thrower.toThrow = nullptr;
        QVERIFY(SendUserEvent(&thrower));
        QCOMPARE(thrower.handled, 3);
        QVERIFY(boxes.requests.isEmpty());
    }

    void badIndexOutsideMarkovShowsNothing() {
        DialogRecorder boxes;
        TPelmoMain main;
        Thrower thrower;
        thrower.toThrow = [] { throw std::out_of_range("index"); };
        SendUserEvent(&thrower);
        main.StartQueueClick();
        SendUserEvent(&thrower);
        QVERIFY(boxes.requests.isEmpty());
    }

    void badIndexInMarkovHidesProgressAndSaysSo() {
        DialogRecorder boxes;
        TPelmoMain main;
        auto* progress = new TMarkovProgress(&main);
        SetMarkovProgress(progress);
        main.SpeedButton1Click();
        progress->show();

        Thrower thrower;
        thrower.toThrow = [] { throw std::out_of_range("index"); };
        SendUserEvent(&thrower);
        QVERIFY(progress->isHidden());
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::Error);
        QCOMPARE(boxes.requests[0].text,
                 QString("Er is een initialisatiefout opgetreden.\n\nProbeer het opnieuw."));

        // Anything else, also with Markov open, stays silent.
        thrower.toThrow = [] { throw std::logic_error("other"); };
        SendUserEvent(&thrower);
        QCOMPARE(boxes.requests.size(), 1);
        SetMarkovProgress(nullptr);
    }

    // In the locale runs (LC_ALL=nl_NL.UTF-8) the application has taken the user's locale, all
    // but the number format.
    void numbersKeepThePointWhateverTheLocale() {
        QCOMPARE(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), QByteArray("C"));
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 0.5);
        QCOMPARE(QByteArray(text), QByteArray("0.5"));
        if (const char* wanted = std::getenv("LC_ALL"); wanted && *wanted)
            QCOMPARE(QByteArray(std::setlocale(LC_CTYPE, nullptr)), QByteArray(wanted));
    }

    void exceptionFromAClickIsSwallowed() {
        QPushButton button("Run");
        int clicks = 0;
        connect(&button, &QPushButton::clicked, &button, [&] {
            ++clicks;
            throw std::runtime_error("from a handler");
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
    }
};

int main(int argc, char** argv) {
    TWachtrixApplication app(argc, argv);
    ExceptionHandlerTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "exception_handler_test.moc"

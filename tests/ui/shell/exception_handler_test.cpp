// The program-wide exception handler: what reaches the event loop is swallowed and the program
// goes on; a bad index while the Markov module is open says so in Dutch. And the application's
// number format.

#include <QPushButton>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "ui/common/ui_test_support.h"
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

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
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
    // A bad index says so in Dutch, hiding the progress dialog, only while the Markov module
    // is open; anything else stays silent there too.
    void badIndexSpeaksOnlyInMarkov_data() {
        wachtrix::testing::AddTagRows("module", {"no module", "queue", "Markov"});
    }
    void badIndexSpeaksOnlyInMarkov() {
        QFETCH(int, module);
        DialogRecorder boxes;
        TPelmoMain main;
        auto* progress = new TMarkovProgress(&main);
        SetMarkovProgress(progress);
        if (module == 1) main.StartQueueClick();
        if (module == 2) main.SpeedButton1Click();
        progress->show();

        Thrower thrower;
        thrower.toThrow = [] { throw std::out_of_range("index"); };
        QVERIFY(!SendUserEvent(&thrower));  // swallowed: not handled
        const bool markov = module == 2;
        QCOMPARE(progress->isHidden(), markov);
        QCOMPARE(boxes.texts(),
                 markov ? QStringList{"Er is een initialisatiefout opgetreden.\n\nProbeer het "
                                      "opnieuw."}
                        : QStringList{});
        if (markov) QCOMPARE(boxes.requests[0].kind, DialogKind::Error);

        thrower.toThrow = [] { throw std::logic_error("other"); };
        QVERIFY(!SendUserEvent(&thrower));  // swallowed: not handled
        QCOMPARE(boxes.requests.size(), markov ? 1 : 0);
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

    // A standard exception or any other thrown from a click's handler: swallowed silently, and
    // the next click is handled again.
    void exceptionFromAClickIsSwallowed() {
        DialogRecorder boxes;
        QPushButton button("Run");
        int clicks = 0;
        connect(&button, &QPushButton::clicked, &button, [&] {
            if (++clicks == 1) throw std::runtime_error("from a handler");
            throw 42;
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QVERIFY(boxes.requests.isEmpty());
    }
};

int main(int argc, char** argv) {
    TWachtrixApplication app(argc, argv);
    ExceptionHandlerTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "exception_handler_test.moc"

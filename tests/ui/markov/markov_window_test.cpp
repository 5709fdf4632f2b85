#include "ui/markov/markov_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "ui/common/help.h"
#include "ui/markov/markov_keuze_dialoog.h"
#include "ui/markov/markov_test_support.h"

using wachtrix::testing::Child;
using wachtrix::testing::DialogRecorder;
using namespace wachtrix::ui;

class MarkovWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogRecorder> boxes;
    QPointer<TMarkov> window;
    QPointer<TMarkovKeuzeDialoog> dialog;

    static QAction* Action(QMenu* menu, const QString& text) {
        for (QAction* action : menu->actions())
            if (action->text() == text) return action;
        qFatal("no menu item %s", qPrintable(text));
    }
    static void DeleteLater() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const QString kQuestion = "Do you want to quit from Markov Chains?";

private slots:
    void init() {
        boxes = std::make_unique<DialogRecorder>();
        window = new TMarkov;
        window->show();
        dialog = window->dialog();
    }
    void cleanup() {
        delete window;
        DeleteLater();
        boxes.reset();
    }

    void opensItsDialogAsAStayOnTopToolWindow() {
        QCOMPARE(window->windowTitle(), QString("Markov Chains"));
        QVERIFY(dialog);
        QCOMPARE(dialog->parent(), window.data());
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(dialog->windowType(), Qt::Tool);
    }

    void showsTheDialogWithTheWindow() {
        TMarkov fresh;
        QVERIFY(!fresh.dialog()->isVisible());
        fresh.show();
        QVERIFY(fresh.dialog()->isVisible());
    }

    void offersTheModuleMenus() {
        QCOMPARE(window->fileMenu()->title(), QString("&File"));
        QCOMPARE(window->helpMenu()->title(), QString("&Help"));
        QStringList items;
        for (QAction* action : window->fileMenu()->actions())
            items << action->text();
        QCOMPARE(items, QStringList({"Close &Markov Chains", "Close &Wachtrix"}));
        Action(window->helpMenu(), "&Help Content")->trigger();
        QCOMPARE(LastHelpContext(), 13);
    }

    void closeFromTheMenuAsksAndNoKeepsEverything() {
        Action(window->fileMenu(), "Close &Markov Chains")->trigger();
        DeleteLater();
        QCOMPARE(boxes->texts(), QStringList{kQuestion});
        QCOMPARE(boxes->requests[0].kind, DialogKind::Confirm);
        QVERIFY(window && window->isVisible());
        QVERIFY(dialog && dialog->isVisible());

        // The question is asked again each time.
        boxes->answer(DialogButton::Yes);
        Action(window->fileMenu(), "Close &Markov Chains")->trigger();
        DeleteLater();
        QCOMPARE(boxes->requests.size(), 2);
        QVERIFY(!window);
        QVERIFY(!dialog);
    }

    void quitAndTheDialogsCloseBoxAskTheSameQuestion() {
        Child<QPushButton>(dialog, "TerugBtn")->click();
        dialog->close();
        DeleteLater();
        QCOMPARE(boxes->texts(), QStringList({kQuestion, kQuestion}));
        QVERIFY(window && dialog && dialog->isVisible());

        boxes->answer(DialogButton::Yes);
        Child<QPushButton>(dialog, "TerugBtn")->click();
        DeleteLater();
        QVERIFY(!window);
        QVERIFY(!dialog);
    }

    void closingWithoutTheUsersRequestDoesNotAsk() {
        // As when the program ends.
        QVERIFY(window->close());
        DeleteLater();
        QVERIFY(boxes->requests.empty());
        QVERIFY(!window);
        QVERIFY(!dialog);
    }

    void closeWachtrixClosesTheProgramsWindow() {
        QWidget host;
        auto* inner = new TMarkov(&host);
        host.show();
        Action(inner->fileMenu(), "Close &Wachtrix")->trigger();
        QVERIFY(!host.isVisible());
    }
};

QTEST_MAIN(MarkovWindowTest)
#include "markov_window_test.moc"

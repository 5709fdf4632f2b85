#include "ui/markov/markov_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "ui/common/help.h"
#include "ui/common/ui_test_support.h"
#include "ui/markov/markov_keuze_dialoog.h"

using wachtrix::testing::Child;
using wachtrix::testing::DeleteClosedWindows;
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

private slots:
    void init() {
        boxes = std::make_unique<DialogRecorder>();
        window = new TMarkov;
        window->show();
        dialog = window->dialog();
    }
    void cleanup() {
        delete window;
        DeleteClosedWindows();
        boxes.reset();
    }

    void showsItsDialogAsAToolWindow() {
        QCOMPARE(window->windowTitle(), QString("Markov Chains"));
        QVERIFY(dialog);
        QCOMPARE(dialog->parent(), window.data());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowType(), Qt::Tool);
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
        QCOMPARE(items, QStringList({"&Open Chain...", "&Save Chain...", "Recent &Chains", "",
                                     "Close &Markov Chains", "Close &Wachtrix"}));
        Action(window->helpMenu(), "&Help Content")->trigger();
        QCOMPARE(LastHelpContext(), 13);
    }

    // The menu item, "&Quit" and the dialog's close box ask each time; only Yes closes the
    // window and its dialog.
    void closeRequestsAskAndOnlyYesCloses_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("menu") << 0;
        QTest::newRow("quit") << 1;
        QTest::newRow("close box") << 2;
    }
    void closeRequestsAskAndOnlyYesCloses() {
        QFETCH(int, way);
        const auto request = [&] {
            if (way == 0) Action(window->fileMenu(), "Close &Markov Chains")->trigger();
            if (way == 1) Child<QPushButton>(dialog, "TerugBtn")->click();
            if (way == 2) dialog->close();
            DeleteClosedWindows();
        };
        request();
        QCOMPARE(boxes->texts(), QStringList{"Do you want to quit from Markov Chains?"});
        QCOMPARE(boxes->requests[0].kind, DialogKind::Confirm);
        QVERIFY(window && window->isVisible());
        QVERIFY(dialog && dialog->isVisible());

        boxes->answer(DialogButton::Yes);
        request();
        QCOMPARE(boxes->requests.size(), 2);
        QVERIFY(!window);
        QVERIFY(!dialog);
    }

    void closingWithoutTheUsersRequestDoesNotAsk() {
        // As when the program ends.
        QVERIFY(window->close());
        DeleteClosedWindows();
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

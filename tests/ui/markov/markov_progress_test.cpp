#include "ui/markov/markov_progress.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/common/ui_test_support.h"

using wachtrix::testing::Child;
using namespace wachtrix::ui;

class MarkovProgressTest : public QObject {
    Q_OBJECT

private slots:
    void showsAProgressBarAndStop() {
        TMarkovProgress progress;
        QCOMPARE(progress.windowTitle(), QString("Calculating..."));
        QVERIFY(progress.windowFlags() & Qt::WindowStaysOnTopHint);
        auto* bar = Child<QProgressBar>(&progress, "ProgressBar1");
        progress.SetPosition(70);
        progress.ResetProgress();
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(Child<QPushButton>(&progress, "StopBtn")->text(), QString("&Stop"));
    }

    void stopAndCloseRequestAStopAndKeepTheWindow() {
        TMarkovProgress progress;
        progress.show();
        QVERIFY(!progress.StopRequested());
        Child<QPushButton>(&progress, "StopBtn")->click();
        QVERIFY(progress.StopRequested());

        progress.ClearStopRequest();
        QVERIFY(!progress.close());
        QVERIFY(progress.isVisible());
        QVERIFY(progress.StopRequested());

        progress.ClearStopRequest();
        QTest::keyClick(&progress, Qt::Key_Escape);
        QVERIFY(progress.isVisible());
        QVERIFY(progress.StopRequested());
    }

    void theAnalysesTalkToTheProgramsInstance() {
        TMarkovProgress progress;
        SetMarkovProgress(&progress);
        QCOMPARE(MarkovProgress(), &progress);
        MarkovProgressRun run(MarkovProgress());
        run.reset();
        run.show();
        QVERIFY(progress.isVisible());
        run.position(40);
        QCOMPARE(progress.Position(), 40);
        run.processEvents();
        QVERIFY(!run.stopRequested());
        progress.StopBtnClick();
        QVERIFY(run.stopRequested());
        run.hide();
        QVERIFY(!progress.isVisible());
        SetMarkovProgress(nullptr);

        MarkovProgressRun none(nullptr);
        none.reset();
        none.show();
        none.position(50);
        QVERIFY(!none.stopRequested());
    }

    // Events between steps are let through only every so many milliseconds, but always at the
    // first step, so that a Stop pressed at once is seen.
    void aRunLetsEventsThroughAtItsFirstStep() {
        TMarkovProgress progress;
        MarkovProgressRun run(&progress);
        bool delivered = false;
        QTimer::singleShot(0, &progress, [&] { delivered = true; });
        run.processEvents();
        QVERIFY(delivered);
    }
};

QTEST_MAIN(MarkovProgressTest)
#include "markov_progress_test.moc"

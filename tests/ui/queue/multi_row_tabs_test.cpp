// The multi-row tab set: every caption visible within its width, rows filled and stretched,
// rows that stay put when a tab of another row is chosen, and selection by mouse, keys and code.

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "ui/queue/multi_row_tab_widget.h"

using namespace wachtrix::ui;

namespace {
const QStringList kCaptions = {"M/G/1",         "D/G/1",           "M/M/c",           "M/D/c",
                               "D/M/c",         "G/M/c",           "Finite Capacity", "M/M/c/c+N",
                               "Finite Source", "Transient M/M/1", "Staffing"};
}

class MultiRowTabsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        tabs_ = new MultiRowTabWidget;
        for (const QString& caption : kCaptions)
            tabs_->addPage(new QLabel(caption), caption);
        tabs_->setFixedSize(300, 400);
        tabs_->show();
        QVERIFY(QTest::qWaitForWindowExposed(tabs_));
    }
    void cleanup() { delete tabs_; }

    // Every caption fits, in reading order, nothing overlaps, and each row ends at the right edge.
    void everyCaptionFitsWithoutOverlap() {
        MultiRowTabBar* bar = tabs_->tabBar();
        QCOMPARE(bar->count(), 11);
        QVERIFY(bar->rowCount() > 1);
        int rowsEndingAtTheEdge = 0;
        for (int i = 0; i < bar->count(); ++i) {
            const QRect r = bar->tabRect(i);
            rowsEndingAtTheEdge += r.right() == 299;
            QVERIFY2(r.left() >= 0 && r.right() < 300, qPrintable(kCaptions[i]));
            QVERIFY2(r.bottom() < bar->height(), qPrintable(kCaptions[i]));
            QVERIFY2(r.width() > bar->fontMetrics().horizontalAdvance(kCaptions[i]),
                     qPrintable(kCaptions[i]));
            for (int j = i + 1; j < bar->count(); ++j)
                QVERIFY2(!r.intersects(bar->tabRect(j)),
                         qPrintable(kCaptions[i] + " overlaps " + kCaptions[j]));
            // In their reading order, row by row.
            const QRect previous = i > 0 ? bar->tabRect(i - 1) : QRect(-1, 0, 1, 1);
            QVERIFY(r.top() > previous.top() ||
                    (r.top() == previous.top() && r.left() > previous.left()));
        }
        QCOMPARE(bar->tabRect(0).topLeft(), QPoint(0, 0));
        QCOMPARE(rowsEndingAtTheEdge, bar->rowCount());
    }

    // Clicking a tab of another row leaves every tab where it was, so nothing jumps away
    // from under the pointer; only the selection moves.
    void rowsStayPutWhenATabOfAnotherRowIsClicked() {
        MultiRowTabBar* bar = tabs_->tabBar();
        QList<QRect> before;
        for (int i = 0; i < bar->count(); ++i)
            before << bar->tabRect(i);
        const int height = bar->height();
        QVERIFY(bar->tabRect(0).top() != bar->tabRect(9).top());  // the clicks change rows
        for (int i : {0, 6, 9, 3, 8}) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            QCOMPARE(tabs_->currentIndex(), i);
            for (int j = 0; j < bar->count(); ++j)
                QCOMPARE(bar->tabRect(j), before[j]);
            QCOMPARE(bar->height(), height);
        }
    }

    void clickKeysAndCodeSelect() {
        QSignalSpy changed(tabs_, &MultiRowTabWidget::currentChanged);
        MultiRowTabBar* bar = tabs_->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(7).center());
        QCOMPARE(tabs_->currentIndex(), 7);
        QCOMPARE(qobject_cast<QLabel*>(tabs_->currentWidget())->text(), QString("M/M/c/c+N"));

        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(tabs_->currentIndex(), 8);
        QTest::keyClick(bar, Qt::Key_Left);
        QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(tabs_->currentIndex(), 6);

        tabs_->setCurrentIndex(2);
        tabs_->setCurrentIndex(2);  // already current: no signal
        QCOMPARE(tabs_->currentIndex(), 2);
        QCOMPARE(changed.size(), 5);  // 7, 8, 7, 6, 2
        QCOMPARE(changed.last()[0].toInt(), 2);
    }

private:
    MultiRowTabWidget* tabs_ = nullptr;
};

QTEST_MAIN(MultiRowTabsTest)
#include "multi_row_tabs_test.moc"

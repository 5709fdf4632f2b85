// The choice groups: the item index, its signal, and captions that wrap rather than clip.

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "ui/common/radio_group.h"

using namespace wachtrix::ui;

class RadioGroupTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheFirstItemAndReportsChanges() {
        RadioGroup group("Choice", "Output", {"One", "Two", "Three"});
        // The name and the count serve every window test that finds and walks a group.
        QCOMPARE(group.title(), QString("Output"));
        QCOMPARE(group.itemIndex(), 0);

        QSignalSpy changed(&group, &RadioGroup::itemIndexChanged);
        group.item(2)->click();
        QCOMPARE(group.itemIndex(), 2);
        group.setItemIndex(1);
        QCOMPARE(group.itemIndex(), 1);
        group.setItemIndex(1);  // no change, no signal
        group.setItemIndex(7);  // no such item: ignored
        QCOMPARE(group.itemIndex(), 1);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed[0][0].toInt(), 2);
        QCOMPARE(changed[1][0].toInt(), 1);
    }

    void longCaptionWrapsWithinANarrowGroup() {
        QWidget holder;
        auto* layout = new QVBoxLayout(&holder);
        auto* group = new RadioGroup(
            "Axis", "Graph X-Axis",
            {"Vary the number of servers c for a fixed capacity N", "Short"}, &holder);
        layout->addWidget(group);
        holder.setFixedWidth(220);
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));

        QRadioButton* longItem = group->item(0);
        QRadioButton* shortItem = group->item(1);
        QVERIFY(longItem->width() <= 220);
        // Two or more lines for the long caption, one for the short.
        QVERIFY(longItem->height() >= 2 * shortItem->fontMetrics().height());
        QVERIFY(longItem->height() >= longItem->heightForWidth(longItem->width()));
        QVERIFY(!longItem->geometry().intersects(shortItem->geometry()));

        // The whole wrapped caption takes the click.
        QTest::mouseClick(longItem, Qt::LeftButton, {},
                          QPoint(longItem->width() / 2, longItem->height() - 3));
        QCOMPARE(group->itemIndex(), 0);
        QTest::mouseClick(shortItem, Qt::LeftButton);
        QCOMPARE(group->itemIndex(), 1);
        QTest::mouseClick(longItem, Qt::LeftButton, {},
                          QPoint(longItem->width() - 5, longItem->height() - 3));
        QCOMPARE(group->itemIndex(), 0);
    }
};

QTEST_MAIN(RadioGroupTest)
#include "radio_group_test.moc"

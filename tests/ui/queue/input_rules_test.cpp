// The typing filter of the number fields, as a plain function.

#include <QTest>

#include "ui/queue/edit_filter.h"

using namespace wachtrix::ui;

class InputRulesTest : public QObject {
    Q_OBJECT
private slots:
    void filterDropsWhatIsNotAllowed_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("real");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("keptCaret");
        QTest::newRow("letter typed last") << "1e" << 2 << true << "1" << 1;
        QTest::newRow("minus typed first") << "-" << 1 << true << "" << 0;
        QTest::newRow("comma inside") << "1,5" << 2 << true << "15" << 1;
        QTest::newRow("point in an integer") << "2.5" << 3 << false << "25" << 2;
        QTest::newRow("paste with caret at end") << "a1b2" << 4 << true << "12" << 2;
        // Only removed characters before the caret move it.
        QTest::newRow("caret before the junk") << "12x3" << 1 << true << "123" << 1;
        QTest::newRow("junk just before the caret") << "1x23" << 2 << true << "123" << 1;
        QTest::newRow("junk just after the caret") << "12x3" << 2 << true << "123" << 2;
        QTest::newRow("exponent and sign") << "1.5e-3" << 6 << true << "1.53" << 4;
        QTest::newRow("nothing to drop") << "0.25" << 2 << true << "0.25" << 2;
        QTest::newRow("digits only pass") << "2500" << 4 << false << "2500" << 4;
    }
    void filterDropsWhatIsNotAllowed() {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(bool, real);
        QFETCH(QString, kept);
        QFETCH(int, keptCaret);
        const FilteredText result = FilterText(text, caret, real ? RealChars : IntChars);
        QCOMPARE(result.text, kept);
        QCOMPARE(result.caret, keptCaret);
    }
};

QTEST_MAIN(InputRulesTest)
#include "input_rules_test.moc"

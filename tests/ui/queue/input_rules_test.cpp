// The typing filter of the number fields, as plain functions.

#include <QTest>

#include "ui/queue/edit_filter.h"

using namespace wachtrix::ui;

class InputRulesTest : public QObject {
    Q_OBJECT
private slots:
    void filterKeepsWhatANumberMayHold_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("real");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("keptCaret");
        QTest::addColumn<bool>("dropped");
        QTest::newRow("letter typed last") << "1x" << 2 << true << "1" << 1 << true;
        QTest::newRow("minus typed first") << "-" << 1 << true << "" << 0 << true;
        QTest::newRow("comma is the point") << "1,5" << 2 << true << "1.5" << 2 << false;
        QTest::newRow("second point or comma") << "1.5,." << 5 << true << "1.5" << 3 << true;
        QTest::newRow("exponent and sign") << "2.5E-4" << 6 << true << "2.5E-4" << 6 << false;
        QTest::newRow("exponent before a digit") << "e3" << 2 << true << "3" << 1 << true;
        QTest::newRow("second exponent, point in it")
            << "1e3e.5" << 6 << true << "1e35" << 4 << true;
        QTest::newRow("sign not after the exponent") << "1-3+" << 4 << true << "13" << 2 << true;
        QTest::newRow("point in an integer") << "2.5" << 3 << false << "25" << 2 << true;
        QTest::newRow("exponent in an integer") << "1e3" << 3 << false << "13" << 2 << true;
        QTest::newRow("paste with caret at end") << "a1b2" << 4 << true << "12" << 2 << true;
        // Only removed characters before the caret move it.
        QTest::newRow("caret before the junk") << "12x3" << 1 << true << "123" << 1 << true;
        QTest::newRow("junk just before the caret") << "1x23" << 2 << true << "123" << 1 << true;
        QTest::newRow("junk just after the caret") << "12x3" << 2 << true << "123" << 2 << true;
        QTest::newRow("digits only pass") << "2500" << 4 << false << "2500" << 4 << false;
    }
    void filterKeepsWhatANumberMayHold() {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(bool, real);
        QFETCH(QString, kept);
        QFETCH(int, keptCaret);
        QFETCH(bool, dropped);
        const FilteredText result = real ? FilterReal(text, caret) : FilterInteger(text, caret);
        QCOMPARE(result.text, kept);
        QCOMPARE(result.caret, keptCaret);
        QCOMPARE(result.dropped, dropped);
    }
};

QTEST_MAIN(InputRulesTest)
#include "input_rules_test.moc"

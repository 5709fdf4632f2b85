// The typing filter and the captions that follow typed values, as plain functions.

#include <QTest>

#include "ui/queue/edit_filter.h"
#include "ui/queue/label_rules.h"

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

    void finiteCapacityCaptionFollowsCAndN() {
        QCOMPARE(NValuesCaption("2", "3"), QString("n-values (<=5)"));
        QCOMPARE(NValuesCaption("2500", "1000"), QString("n-values (<=3500)"));
        QCOMPARE(NValuesCaption("", "3"), QString("n-values"));
        QCOMPARE(NValuesCaption("2", ""), QString("n-values"));
        QCOMPARE(NValuesCaption("2.5", "3"), QString("n-values"));
        // Two large integers add up without wrapping round.
        QCOMPARE(NValuesCaption("2000000000", "2000000000"), QString("n-values (<=4000000000)"));
        QCOMPARE(NValuesCaption("99999999999", "1"), QString("n-values"));
    }

    void machineCaptionFollowsM() {
        QCOMPARE(MachineNValuesCaption("25"), QString("n-values (<=25)"));
        QCOMPARE(MachineNValuesCaption(""), QString("n-values"));
        QCOMPARE(MachineNValuesCaption("1.5"), QString("n-values"));
    }

    // The bound is the state i where rho^i falls to 1e-16: trunc(-16 ln 10 / ln rho), <= 100.
    void initialStateBound_data() {
        QTest::addColumn<QString>("rho");
        QTest::addColumn<QString>("label");
        // 0.1 takes sixteen decades, 0.8 and 0.99 are capped, 0 counts as 1e-9; near 1 on
        // either side and above 10 there is no bound, nor for a text that is no number.
        const std::pair<const char*, const char*> rows[] = {
            {"0.5", "<= 53"},   {"0.1", "<= 16"}, {"0.8", "<= 100"}, {"0.99", "<= 100"},
            {"0", "<= 1"},      {"0.995", ""},    {"1.0", ""},       {"1.009", ""},
            {"1.01", "<= 100"}, {"5", "<= 100"},  {"10", "<= 100"},  {"10.5", ""},
            {"", ""},           {"1.2.3", ""}};
        for (const auto& [rho, label] : rows)
            QTest::newRow(*rho ? rho : "empty") << QString(rho) << QString(label);
    }
    void initialStateBound() {
        QFETCH(QString, rho);
        QFETCH(QString, label);
        QCOMPARE(InitialStateRangeLabel(rho), label);
    }
};

QTEST_MAIN(InputRulesTest)
#include "input_rules_test.moc"

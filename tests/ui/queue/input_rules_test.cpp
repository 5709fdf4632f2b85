// The typing filter of the number fields, as plain functions, over the cases of
// tests/data/ui/input_rules.txt.

#include <QTest>

#include "ui/common/ui_test_support.h"
#include "ui/queue/edit_filter.h"

using namespace wachtrix::ui;

class InputRulesTest : public QObject {
    Q_OBJECT
private slots:
    void filterKeepsWhatANumberMayHold_data() {
        wachtrix::testing::AddDataRows("input_rules.txt", "filter");
    }
    void filterKeepsWhatANumberMayHold() {
        QFETCH(QStringList, row);
        QCOMPARE(row.size(), 7);
        const int caret = row[2].toInt();
        const FilteredText result =
            row[3] == "real" ? FilterReal(row[1], caret) : FilterInteger(row[1], caret);
        QCOMPARE(result.text, row[4]);
        QCOMPARE(result.caret, row[5].toInt());
        QCOMPARE(result.dropped, row[6] == "yes");
    }
};

QTEST_MAIN(InputRulesTest)
#include "input_rules_test.moc"

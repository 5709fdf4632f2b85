#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ui/common/radio_group.h"
#include "ui/markov/markov_keuze_dialoog.h"
#include "ui/markov/markov_test_support.h"
#include "ui/markov/string_grid.h"

using wachtrix::testing::Child;
using wachtrix::testing::DialogRecorder;
using wachtrix::testing::ReadBytes;
using namespace wachtrix::ui;

// A kept Markov report carries the chain it answers, and its HTML falls back to any fixed pitch.
class KeptReportTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<DialogRecorder> boxes;
    std::unique_ptr<TMarkovKeuzeDialoog> dialog;
    QTemporaryDir dir;

    template <class T>
    T* w(const QString& name) {
        return Child<T>(dialog.get(), name);
    }
    // A continuous chain of two states, its steady state on view, saved under `file`.
    QString SavedReport(const QString& file) {
        w<QComboBox>("cbSoortMarkovChain")->setCurrentIndex(1);
        auto* states = w<QLineEdit>("EditAantalStates");
        states->setText("2");
        QTest::keyClick(states, Qt::Key_Return);
        const char* const cells[2][2] = {{"0", "2.5"}, {"10", "0"}};
        const char* const costs[2][2] = {{"1", "0"}, {"-2", "4"}};
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) {
                w<TStringGrid>("sgOvergangsMatrix")->item(i, j)->setText(cells[i][j]);
                w<TStringGrid>("sgKostenVector")->item(i, j)->setText(costs[i][j]);
            }
        dialog->findChild<QTabWidget*>("PageControl1")
            ->setCurrentIndex(TMarkovKeuzeDialoog::ChoicePage);
        w<RadioGroup>("rgSoort")->item(1)->click();
        w<QPushButton>("SimuleerBtn")->click();
        boxes->fileName = dir.filePath(file);
        w<QPushButton>("SaveMemoBtn")->click();
        return QString::fromUtf8(ReadBytes(boxes->fileName));
    }

private slots:
    void init() {
        boxes = std::make_unique<DialogRecorder>();
        dialog = std::make_unique<TMarkovKeuzeDialoog>();
        dialog->show();
    }
    void cleanup() {
        dialog.reset();
        boxes.reset();
    }

    void theChainComesBeforeTheReport() {
        const QString text = SavedReport("steady.txt");
        const QString chain =
            "Continuous-time Markov chain, 2 states\n\nRate matrix Q\n   0  2.5\n  10    0\n\n"
            "Cost vectors\n  r(j)  F(k)\n     1     0\n    -2     4\n\n";
        QCOMPARE(text.left(chain.size()), chain);
        QCOMPARE(text.mid(chain.size()),
                 w<QPlainTextEdit>("MemoSteadyState")->toPlainText() + "\n");
    }

    void htmlEndsItsFontsInTheGenericFixedPitch() {
        const QString html = SavedReport("steady.html");
        QVERIFY2(html.contains(",monospace;"), qPrintable(html.left(600)));
        QVERIFY(html.contains("Rate matrix Q"));
    }
};

QTEST_MAIN(KeptReportTest)
#include "kept_report_test.moc"

// Simulate... on the queue tabs: the dialog's options run as the batch tool's simulate= runs
// them, after the tab's own report; options the model cannot take are refused in the dialog,
// which stays open; the button is there exactly where the model has a twin to simulate.

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>
#include <memory>

#include "core/queue/queue_model.h"
#include "core/queue/simulation.h"
#include "support/recording_host.h"
#include "ui/common/ui_test_support.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/queue_main_form.h"

using namespace wachtrix;
using namespace wachtrix::ui;
using testing::Child;

class SimulationDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TQueueMainForm> form_;

    QStringList resultLines() const {
        return Child<QTextEdit>(form_.get(), "Results")->toPlainText().split('\n');
    }
    // The M/M/c tab with c = 2, rho = 0.8, Results cleared, Simulate... pressed.
    QDialog* openDialogOnMmc() {
        auto* tabs = Child<MultiRowTabWidget>(form_.get(), "PageControl");
        for (int i = 0; i < tabs->count(); ++i)
            if (QueueModels()[static_cast<std::size_t>(i)]->key == "mmc") tabs->setCurrentIndex(i);
        Child<QLineEdit>(form_.get(), "MMC_C_edit")->setText("2");
        Child<QLineEdit>(form_.get(), "MMC_Rho_edit")->setText("0.8");
        form_->ClearButtonClick();
        Child<QPushButton>(form_.get(), "MMC_Simulate_button")->click();
        return Child<QDialog>(form_.get(), "Simulation_dialog");
    }
    static void Enter(QDialog* dialog, const QString& customers, int runs, const QString& seed) {
        Child<QLineEdit>(dialog, "Simulation_customers_edit")->setText(customers);
        Child<QSpinBox>(dialog, "Simulation_runs_spin")->setValue(runs);
        Child<QLineEdit>(dialog, "Simulation_seed_edit")->setText(seed);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }

private slots:
    void init() {
        form_ = std::make_unique<TQueueMainForm>();
        form_->show();
    }
    void cleanup() { form_.reset(); }

    void simulatesAfterTheReportAsTheBatchToolDoes() {
        testing::DialogRecorder boxes;
        QDialog* dialog = openDialogOnMmc();
        QVERIFY(dialog->isVisible());
        Enter(dialog, "20000", 4, "7");
        QVERIFY2(boxes.requests.isEmpty(), qPrintable(boxes.texts().join('\n')));

        testing::RecordingHost core;
        const Simulation simulation = SimulateModel(
            *FindQueueModel("mmc"), testing::FormOf("mmc c=2 rho=0.8"), {20000, 4, 7});
        WriteSimulationBlock(core.results(), simulation);
        QStringList block;
        for (const StyledLine& line : core.sink.lines)
            block << QString::fromStdString(line.text);
        const QStringList lines = resultLines();
        const qsizetype at = lines.indexOf(block.front());
        QVERIFY2(at > 0, qPrintable(lines.join('\n')));
        QCOMPARE(lines.mid(at, block.size()), block);
        QVERIFY(lines.mid(0, at).join('\n').contains("Parameters: c=2  rho=0.8"));
        QCOMPARE(block.front(), QString("Simulation: 4 runs of 20000 customers, seed 7"));
    }

    void refusesOptionsItCannotTakeWithTheDialogOpen() {
        testing::DialogRecorder boxes;
        QDialog* dialog = openDialogOnMmc();
        const QStringList before = resultLines();
        Enter(dialog, "lots", 10, "1");
        Enter(dialog, "1000", 10, "-3");
        Enter(dialog, "0", 10, "1");
        QCOMPARE(boxes.requests.size(), 3);
        QVERIFY(boxes.texts()[0].contains("customers"));
        QVERIFY(boxes.texts()[1].contains("seed"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(resultLines(), before);
    }

    void offeredWhereTheModelHasATwin() {
        for (const QueueModelSpec* model : QueueModels()) {
            const QString name =
                QString::fromUtf8(model->prefix.data(), static_cast<int>(model->prefix.size())) +
                "_Simulate_button";
            const bool offered = form_->findChild<QPushButton*>(name) != nullptr;
            QVERIFY2(offered == (model->twin != nullptr), qPrintable(name));
        }
    }
};

QTEST_MAIN(SimulationDialogTest)
#include "simulation_dialog_test.moc"

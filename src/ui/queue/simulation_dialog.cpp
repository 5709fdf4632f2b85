#include "ui/queue/simulation_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/text/number_parse.h"
#include "ui/common/dialogs.h"
#include "ui/queue/stoppable_progress.h"

namespace wachtrix::ui {
SimulationDialog::SimulationDialog(const QueueModelSpec& model, QueueForm form, QWidget* parent)
    : QDialog(parent), model_(model), form_(std::move(form)) {
    setObjectName("Simulation_dialog");
    setWindowTitle("Simulate " + QString::fromUtf8(model.helpTitle.data(),
                                                   static_cast<int>(model.helpTitle.size())));
    customers_ = new QLineEdit(QString::number(kDefaultSimulatedCustomers), this);
    customers_->setObjectName("Simulation_customers_edit");
    customers_->setToolTip("Customers each run counts, after a warm-up of a tenth as many");
    runs_ = new QSpinBox(this);
    runs_->setObjectName("Simulation_runs_spin");
    runs_->setRange(2, kMostSimulationRuns);
    runs_->setValue(kDefaultSimulationRuns);
    runs_->setToolTip("Independent runs; their spread gives the 95% intervals");
    seed_ = new QLineEdit(QString::number(kDefaultSimulationSeed), this);
    seed_->setObjectName("Simulation_seed_edit");
    seed_->setToolTip("The same seed gives the same simulation");

    auto* fields = new QFormLayout;
    fields->addRow("&Customers per run:", customers_);
    fields->addRow("&Runs:", runs_);
    fields->addRow("S&eed:", seed_);
    auto* note = new QLabel(
        "Each figure of the report is estimated from the runs, with its 95% confidence "
        "half-width; a row whose analysis lies more than three half-widths away ends in \"!\".",
        this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SimulationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SimulationDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

std::string SimulationDialog::readOptions(SimulationOptions& options) const {
    const auto customers = ParseInt(customers_->text().toStdString());
    if (!customers) return "The number of customers is not a whole number";
    const auto seed = ParseInt(seed_->text().toStdString());
    if (!seed || *seed < 0) return "The seed is not a whole number of 0 or more";
    options.customers = *customers;
    options.runs = runs_->value();
    options.seed = static_cast<std::uint64_t>(*seed);
    return CheckSimulation(model_, options);
}

void SimulationDialog::accept() {
    SimulationOptions options;
    if (const std::string why = readOptions(options); !why.empty()) {
        Dialogs::show(this, DialogKind::Error, "Simulation", QString::fromStdString(why));
        return;
    }
    options_ = options;
    QDialog::accept();
}

Simulation RunSimulationWithProgress(const QueueModelSpec& model, const QueueForm& form,
                                     const SimulationOptions& options, QWidget* over) {
    StoppableProgress progress("Simulating...", "Simulation_progress", over);
    return SimulateModel(model, form, options, [&](long long done, long long total) {
        return progress.carryOn(done, total);
    });
}

}  // namespace wachtrix::ui

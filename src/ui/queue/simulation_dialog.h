#pragma once
// The Simulate... dialog of a queue tab: how many customers each run counts, how many
// independent runs and the seed. OK keeps the dialog open with a message until the options are
// ones the model can simulate; the tab's texts and choices are taken as they were when the dialog
// opened, and the simulation then runs beside the tab's own analysis.
//
//   M/M/c with c=2 rho=0.8: 100000 customers, 10 runs, seed 1 (the defaults, about a second).

#include <QDialog>

#include "core/queue/queue_model.h"
#include "core/queue/simulation.h"

class QLineEdit;
class QSpinBox;

namespace wachtrix::ui {

class SimulationDialog : public QDialog {
    Q_OBJECT
public:
    SimulationDialog(const QueueModelSpec& model, QueueForm form, QWidget* parent = nullptr);

    const QueueModelSpec& model() const { return model_; }
    const QueueForm& form() const { return form_; }
    // What OK accepted.
    const SimulationOptions& options() const { return options_; }

    void accept() override;

private:
    // The options as typed, or why they cannot be used.
    std::string readOptions(SimulationOptions& options) const;

    const QueueModelSpec& model_;
    QueueForm form_;
    SimulationOptions options_;
    QLineEdit* customers_;
    QSpinBox* runs_;
    QLineEdit* seed_;
};

// Runs the model and its simulation with a progress box whose Stop ends the simulation after the
// runs already complete (the box shows only for a simulation that takes a while). `over`: the
// window the box belongs to.
Simulation RunSimulationWithProgress(const QueueModelSpec& model, const QueueForm& form,
                                     const SimulationOptions& options, QWidget* over);

}  // namespace wachtrix::ui

#pragma once
// The Scenario... dialog of a queue tab: which of the fields the tab reads to vary, over which
// range in how many points, and which of the model's figures to tabulate. OK keeps the dialog
// open with a message until the request is one the model can run; the tab's other texts and
// choices are taken as they were when the dialog opened.
//
//   M/M/c with c=2 rho=0.8: rho from 0.4 to 0.8 in 10 points, Pwait and E(Wq) ticked.

#include <QDialog>

#include "core/queue/queue_model.h"
#include "core/queue/scenario.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace wachtrix::ui {

class ScenarioDialog : public QDialog {
    Q_OBJECT
public:
    ScenarioDialog(const QueueModelSpec& model, QueueForm form, QWidget* parent = nullptr);

    const QueueModelSpec& model() const { return model_; }
    const QueueForm& form() const { return form_; }
    // What OK accepted.
    const ScenarioRequest& request() const { return request_; }

    void accept() override;

private:
    void fieldChosen();    // From and To around the field's value in the tab
    void figuresTicked();  // t, p and n open for the figures that read them
    // The request as typed, or why it cannot be one.
    std::string readRequest(ScenarioRequest& request) const;

    const QueueModelSpec& model_;
    QueueForm form_;
    ScenarioRequest request_;
    QComboBox* field_;
    QLineEdit* from_;
    QLineEdit* to_;
    QSpinBox* points_;
    QCheckBox* log_;
    QListWidget* figures_;
    QLineEdit* t_;
    QLineEdit* p_;
    QLineEdit* n_;
};

// Runs the scenario with a progress box whose Stop ends it after the current row (the box shows
// only for a scenario that takes a while). `over`: the window the box belongs to.
ScenarioTable RunScenarioWithProgress(const QueueModelSpec& model, const QueueForm& form,
                                      const ScenarioRequest& request, QWidget* over);

}  // namespace wachtrix::ui

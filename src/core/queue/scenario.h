#pragma once
// Scenario tables: one field of a tab varied over a range, a row of the chosen figures for each
// value. Every row is the model's own run at that value (through the registry, as the tab and the
// batch tool run it), and every cell the figure's text as that run's report prints it, so a
// scenario says nothing a single run would not. A value the model refuses, or a run that fails,
// fills its row with the reason, and the table goes on.
//
//   mmc c=2 rho=0.8, vary rho from 0.5 to 0.9 in 5 values, figures Pwait and E(Wq):
//     rho        Pwait        E(Wq)
//     0.5    0.333333      0.33333
//     ...

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/queue/queue_model.h"

namespace wachtrix {

struct ScenarioRequest {
    std::string field;  // the varied field's key ("rho", "c", "N" ...)
    double from = 0, to = 0;
    int count = 0;    // the number of values; 0: every `step` from `from` to `to`
    double step = 0;  // with count 0
    bool logSpacing = false;
    std::vector<std::string> figures;  // as the report prints them: "Pwait", "P{Wq>t}"
    // The points of the figures that are read from a table.
    double t = 0, p = 0;
    int n = 0;
};

// The values a request runs over, both ends exact; whole numbers for an integer field (each
// once). Empty when the range cannot be spanned (count below 1, a step of 0 or the wrong sign, a
// logarithmic range through 0); at most kMostScenarioValues.
inline constexpr int kMostScenarioValues = 10000;
std::vector<double> ScenarioValues(const ScenarioRequest& request, bool integer);

// What is wrong with a request for this model and form, empty when nothing: a field it does not
// have or does not read, a figure it does not offer, a range it cannot span.
std::string CheckScenario(const QueueModelSpec& model, const QueueForm& form,
                          const ScenarioRequest& request);

struct ScenarioRow {
    double value = 0;
    std::vector<std::string> cells;  // one per figure, as printed ("undefined" included)
    std::string reason;              // a refused or failed run: why (its cells are empty)
};

struct ScenarioTable {
    std::string title;       // "M/M/c queue: rho from 0.5 to 0.9"
    std::string parameters;  // the other fields, as the model's parameter line shows them
    std::string field;       // the varied field's key
    std::vector<std::string> figures;
    std::vector<ScenarioRow> rows;
    bool stopped = false;  // the user stopped it: the rows so far
};

// Runs the model at every value, the form's other fields and choices as they are. `carryOn` is
// asked after each row (rows done, rows in all); false stops the scenario there.
ScenarioTable RunScenario(const QueueModelSpec& model, const QueueForm& form,
                          const ScenarioRequest& request,
                          const std::function<bool(int, int)>& carryOn = {});

// The table as Results shows it: a title, then a column per figure under the varied field.
void WriteScenarioTable(ResultWriter& out, const ScenarioTable& table);

// Comma-separated: a header row, then a row per value, the varied value first and the figures in
// the order asked; a refused row holds its reason in the second field.
std::string ScenarioCsv(const ScenarioTable& table);

// One curve per figure against the varied field, on a logarithmic axis when every figure is a
// probability; rows without a number are left out.
std::vector<ChartPlot> ScenarioPlots(const QueueModelSpec& model, const ScenarioTable& table);

}  // namespace wachtrix

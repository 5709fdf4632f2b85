#pragma once
// Runs a queue model through the text host and collects what it wrote and plotted.

#include "cli/commands.h"
#include "cli/text_host.h"
#include "core/queue/output_group.h"

namespace wachtrix::cli {

// "chart,x,y" then one line per plotted point; chart counts from 1 in plotting order.
std::string ChartCsv(const TextQueueHost& host);

CommandResult Collect(const TextQueueHost& host);

// Puts `key` in front of the key named `before` (at the end when there is none): a choice that
// only some of a model's outputs read, listed beside them.
void InsertKeyBefore(std::vector<KeyHelp>& keys, const std::string& before, KeyHelp key);

// A value the readers marked as refused ("**"), with why: "Error: t value \"abc\" is not a
// number". The window shows such a mark and goes on; a script must not get a silently shorter
// table, so the batch tool refuses the whole run.
std::vector<std::string> RefusedValues(const ValueEdits& edits);

// Runs the model; values the readers refused turn the run into a refusal (exit code 2).
template <class Run>
CommandResult RunQueueModel(Run&& run, const ValueEdits& edits = {}) {
    TextQueueHost host;
    run(host);
    CommandResult result = Collect(host);
    std::vector<std::string> refused = RefusedValues(edits);
    if (!refused.empty()) {
        result = CommandResult{};
        result.errors = std::move(refused);
    }
    return result;
}

// Runs a tab's form, its three value groups checked as above.
template <class Form>
CommandResult RunQueueForm(Form& form, void (*run)(Form&, QueueHost&)) {
    return RunQueueModel([&](QueueHost& host) { run(form, host); }, {&form.t, &form.p, &form.n});
}

// The form of a multi-server tab (M/M/c, M/D/c): c, rho, the standard Output group and the
// three value groups.
template <class Form>
Form MultiServerForm(const Arguments& args) {
    Form form;
    form.c = Text(args, "c");
    form.rho = Text(args, "rho");
    form.output = Choice(args, "output", static_cast<int>(kStandardOutput.size()));
    form.t = ValueGroup(args, "t");
    form.p = ValueGroup(args, "p");
    form.n = ValueGroup(args, "n");
    return form;
}

}  // namespace wachtrix::cli

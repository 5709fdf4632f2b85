#pragma once
// The batch tool's one command for every queue model of the registry: its keys and their help
// come from the model's fields, choices, Output groups and value groups, and a run fills the
// model's form from key=value words as the tab would hold it.

#include "cli/commands.h"
#include "cli/text_host.h"
#include "core/queue/queue_model.h"

namespace wachtrix::cli {

ModelCommand QueueCommand(const QueueModelSpec& model);

// "0 Standard Statistics, 1 ..., (default 0)": the items of an Output group.
std::string OutputHelp(OutputGroup output);

// What a run produced through the text host.
CommandResult Collect(const TextQueueHost& host);

}  // namespace wachtrix::cli

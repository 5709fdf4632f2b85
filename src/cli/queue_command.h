#pragma once
// Runs a queue model through the text host and collects what it wrote and plotted.

#include "cli/commands.h"
#include "cli/text_host.h"

namespace wachtrix::cli {

// "chart,x,y" then one line per plotted point; chart counts from 1 in plotting order.
std::string ChartCsv(const TextQueueHost& host);

CommandResult Collect(const TextQueueHost& host);

template <class Run>
CommandResult RunQueueModel(Run&& run) {
    TextQueueHost host;
    run(host);
    return Collect(host);
}

}  // namespace wachtrix::cli

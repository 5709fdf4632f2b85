#pragma once
// The M/G/1 queue: one server, Poisson arrivals, a general service time given by its mean (1)
// and squared coefficient of variation CS2. The service time is replaced by a distribution with
// the same two moments: a mixture of two Erlang distributions (CS2 <= 1) or a Coxian-2
// distribution (CS2 >= 0.5, two fits).

#include <string>

#include "core/queue/queue_host.h"
#include "core/text/value_list.h"

namespace wachtrix {

// What the "M/G/1" tab holds.
struct Mg1Form {
    int serviceType = 0;   // MG1_Service_Type_RadioGroup item index
    std::string cs2, rho;  // MG1_CS2_edit, MG1_Rho_edit
    int output = 0;        // MG1_Output_RadioGroup item index
    TEditArray t, p, n;    // MG1_TEdits, MG1_PEdits, MG1_NEdits, rewritten by the readers
};

// Validates, computes and reports; Graphs opens one window with both charts. Loads too small for
// the chosen method, and graphs of a negligible delay probability, end with a message line.
// A state-probability report's accuracy adds the state solution's own check (its mean number in
// system against Little's law) to the waiting-time check, since both feed the printed numbers.
void RunMG1(Mg1Form& form, QueueHost& host);

}  // namespace wachtrix

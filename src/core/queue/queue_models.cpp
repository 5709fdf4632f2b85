// The one list of queue models, in the order of the queue window's tabs.

#include "core/queue/dg1.h"
#include "core/queue/dmc.h"
#include "core/queue/erlang_a.h"
#include "core/queue/finqueue.h"
#include "core/queue/ggc.h"
#include "core/queue/gmc.h"
#include "core/queue/machine.h"
#include "core/queue/mdc.h"
#include "core/queue/mg1.h"
#include "core/queue/mm1_tran.h"
#include "core/queue/mmc.h"
#include "core/queue/qgraph.h"
#include "core/queue/queue_model.h"
#include "core/queue/staffing.h"

namespace wachtrix {

std::span<const QueueModelSpec* const> QueueModels() {
    static constexpr const QueueModelSpec* kModels[] = {
        &kMg1Model,     &kDg1Model,     &kMmcModel,     &kMdcModel,  &kDmcModel,
        &kGmcModel,     &kGgcModel,     &kFinCapModel,  &kMmcnModel, &kFinSrcModel,
        &kErlangAModel, &kMM1TranModel, &kStaffingModel};
    return kModels;
}

}  // namespace wachtrix

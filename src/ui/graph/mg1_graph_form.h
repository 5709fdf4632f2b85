#pragma once
// The graph window of M/M/c, M/G/1, M/D/c and the finite-capacity queues: the waiting-time
// chart above the state chart.

#include "ui/graph/graph_window.h"

namespace wachtrix::ui {

class TMG1_GraphForm : public GraphWindow {
    Q_OBJECT
public:
    // Labels: title, CS2, rho, service. Charts: MG1_wait_graph (0), MG1_State_graph (1).
    explicit TMG1_GraphForm(QWidget* owner = nullptr);
};

}  // namespace wachtrix::ui

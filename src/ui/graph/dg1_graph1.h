#pragma once
// The graph window of the D/M/c and D/G/1 queues: one waiting-time chart.

#include "ui/graph/graph_window.h"

namespace wachtrix::ui {

class TDG1_Graph1 : public GraphWindow {
    Q_OBJECT
public:
    // Labels: Title_label, CS2_label, Rho_label, Service_label. Chart: xyGraph1.
    explicit TDG1_Graph1(QWidget* owner = nullptr);
};

}  // namespace wachtrix::ui

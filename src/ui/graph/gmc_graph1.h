#pragma once
// The graph window of the G/M/c, finite-source, transient M/M/1 and M/M/c/c+N graphs: one
// chart.

#include "ui/graph/graph_window.h"

namespace wachtrix::ui {

class TGMC_Graph1 : public GraphWindow {
    Q_OBJECT
public:
    // Labels: Title_label, CA2_label, c_label, Rho_label, Service_label. Chart: xyGraph1.
    explicit TGMC_Graph1(QWidget* owner = nullptr);
};

}  // namespace wachtrix::ui

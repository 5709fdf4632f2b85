#include "ui/graph/create_graph_window.h"

#include "ui/graph/dg1_graph1.h"
#include "ui/graph/gmc_graph1.h"
#include "ui/graph/graph_window_counter.h"
#include "ui/graph/mg1_graph_form.h"

namespace wachtrix::ui {
namespace {
constexpr int kOpenAreaMargin = 10;
}

GraphWindow* CreateGraphWindow(GraphWindowKind kind, QWidget* owner,
                               const std::vector<std::string>& captions, const QRect& openArea) {
    GraphWindow* window = nullptr;
    switch (kind) {
        case GraphWindowKind::MG1:
            window = new TMG1_GraphForm(owner);
            break;
        case GraphWindowKind::DG1:
            window = new TDG1_Graph1(owner);
            break;
        case GraphWindowKind::GMC:
            window = new TGMC_Graph1(owner);
            break;
    }
    if (!window) return nullptr;
    window->setLabelCaptions(captions);
    if (!openArea.isEmpty())
        window->setOpenArea(openArea, QPoint(kOpenAreaMargin, kOpenAreaMargin));
    window->Placement(TakeGraphWindowCounter());
    return window;
}

}  // namespace wachtrix::ui

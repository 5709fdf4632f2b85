#include "ui/graph/mg1_graph_form.h"

namespace wachtrix::ui {
namespace {

GraphWindowDesign Design() {
    return {"MG1_Graph_Close_button",
            "Close this window (Alt-C is a shortcut)",
            {{"MG1_Graph_title_label", "Logarithmic Graphs of the M/G/1 queue"},
             {"MG1_Graph_cs2_label", "CS2=xxx"},
             {"MG1_Graph_rho_label", "Rho=xxx"},
             {"MG1_graph_service_label", "Erlangian Services"}},
            {{"MG1_wait_graph", {300, 208}, "Time t", "Probability", "P(Wq>t | Wq>0)"},
             {"MG1_State_graph", {300, 208}, "State n", "Probaility", "P(L>n | L>0)"}}};
}

}  // namespace

TMG1_GraphForm::TMG1_GraphForm(QWidget* owner) : GraphWindow(owner, Design()) {}

}  // namespace wachtrix::ui

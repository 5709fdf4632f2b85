#include "ui/graph/dg1_graph1.h"

namespace wachtrix::ui {
namespace {

GraphWindowDesign Design() {
    return {"Close_button",
            "",
            {{"Title_label", "Logarithmic Graph of the M/D/c queue"},
             {"CS2_label", "CS2=xxx"},
             {"Rho_label", "rho=xxx "},
             {"Service_label", "Erlangian Services "}},
            {{"xyGraph1", {286, 260}, "Time t", "Probability", "P(Wq>t | Wq>0)"}}};
}

}  // namespace

TDG1_Graph1::TDG1_Graph1(QWidget* owner) : GraphWindow(owner, Design()) {}

}  // namespace wachtrix::ui

#include "ui/graph/gmc_graph1.h"

namespace wachtrix::ui {
namespace {

GraphWindowDesign Design() {
    return {"Close_button",
            "",
            {{"Title_label", "Logarithmic Graph of the G/M/c queue"},
             {"CA2_label", "CA2=xxx"},
             {"c_label", "c=xxx"},
             {"Rho_label", "rho=xxx "},
             {"Service_label", "Erlangian Services "}},
            {{"xyGraph1", {352, 320}, "Time t", "Probability", "P(Wq>t | Wq>0)"}}};
}

}  // namespace

TGMC_Graph1::TGMC_Graph1(QWidget* owner) : GraphWindow(owner, Design()) {}

}  // namespace wachtrix::ui

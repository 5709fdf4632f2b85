#include "ui/graph/graph_window_counter.h"

namespace wachtrix::ui {
namespace {
int graphWindowCounter = 0;
}

int TakeGraphWindowCounter() {
    return graphWindowCounter++;
}

}  // namespace wachtrix::ui

#include "ui/markov/markov_progress.h"

namespace wachtrix::ui {
namespace {
TMarkovProgress* instance = nullptr;
}

TMarkovProgress::TMarkovProgress(QWidget* parent) : QDialog(parent) {
    setObjectName("MarkovProgress");
    setWindowTitle("Calculating...");
}

TMarkovProgress* MarkovProgress() { return instance; }
void SetMarkovProgress(TMarkovProgress* progress) { instance = progress; }

}  // namespace wachtrix::ui

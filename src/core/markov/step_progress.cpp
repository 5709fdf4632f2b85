#include "core/markov/step_progress.h"

namespace wachtrix {

StepProgress::StepProgress(Progress& progress, long long last) : progress_(progress), last_(last) {
    progress_.reset();
    shown_ = 0;
    progress_.show();
}

StepProgress::~StepProgress() {
    progress_.hide();
}

bool StepProgress::Continue(long long step) {
    if (progress_.stopRequested()) return false;
    Position(last_ > 0 ? static_cast<int>(step * 100 / last_) : 100);
    progress_.processEvents();
    return true;
}

void StepProgress::Done() {
    Position(100);
}

void StepProgress::Position(int percent) {
    if (percent == shown_) return;
    shown_ = percent;
    progress_.position(percent);
}

}  // namespace wachtrix

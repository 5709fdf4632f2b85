#pragma once
// The progress display of one run over steps 0..last: reset and shown when the run starts,
// hidden when it ends in any way (done, stopped or failed).
//
//   StepProgress steps(progress, 200);
//   for (int t = 0; t <= 200; ++t) {
//       if (!steps.Continue(t)) return std::nullopt;  // Stop was pressed
//       ...                                            // the step
//   }
//   steps.Done();                                      // the bar at 100

#include "core/markov/progress.h"

namespace wachtrix {

class StepProgress {
public:
    StepProgress(Progress& progress, long long last);
    ~StepProgress();
    StepProgress(const StepProgress&) = delete;
    StepProgress& operator=(const StepProgress&) = delete;

    // Before step `step`: false when Stop has been pressed. Otherwise the bar goes to
    // trunc(step / last * 100) and pending events are let through, so that Stop can be pressed.
    bool Continue(long long step);
    void Done();

private:
    void Position(int percent);

    Progress& progress_;
    long long last_;
    int shown_ = -1;  // the bar's position, so that an unchanged one is not set again
};

}  // namespace wachtrix

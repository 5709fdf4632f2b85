#pragma once
// A Progress for the tests: records what the run asked of it and presses Stop on request.

#include <vector>

#include "core/markov/progress.h"

namespace wachtrix::testing {

class RecordingProgress : public Progress {
public:
    // stopAfter: Stop is pressed during the processEvents call with that number (1-based);
    // 0 never.
    explicit RecordingProgress(int stopAfter = 0) : stopAfter_(stopAfter) {}

    void reset() override {
        ++resets;
        positions.clear();
    }
    void show() override { visible = true; }
    void position(int percent) override { positions.push_back(percent); }
    void processEvents() override {
        ++eventRounds;
        if (eventRounds == stopAfter_) stop_ = true;
    }
    bool stopRequested() const override {
        ++stopTests;
        return stop_;
    }
    void hide() override { visible = false; }

    int resets = 0;
    bool visible = false;
    std::vector<int> positions;
    int eventRounds = 0;
    mutable int stopTests = 0;

private:
    int stopAfter_;
    bool stop_ = false;
};

}  // namespace wachtrix::testing

#pragma once
// What the analyses that iterate over time need of a progress display: the dialog with its Stop
// button in the program, nothing in the batch tool, a recorder in the tests.

namespace wachtrix {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void reset() = 0;  // position 0 of a maximum of 100
    virtual void show() = 0;
    virtual void position(int percent) = 0;
    virtual void processEvents() = 0;  // lets the user press Stop
    virtual bool stopRequested() const = 0;
    virtual void hide() = 0;
};

// Shows nothing and is never stopped.
class NoProgress : public Progress {
public:
    void reset() override {}
    void show() override {}
    void position(int) override {}
    void processEvents() override {}
    bool stopRequested() const override { return false; }
    void hide() override {}
};

}  // namespace wachtrix

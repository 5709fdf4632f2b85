#pragma once
// The progress box of a long computation in the queue window (a scenario, a simulation): window
// modal over `over`, shown only when the work takes a while, with Stop. The work reports its
// progress through `carryOn`, which lets events (Stop among them) through now and then and
// answers false once Stop was pressed.

#include <QElapsedTimer>
#include <QProgressDialog>

namespace wachtrix::ui {

class StoppableProgress {
public:
    StoppableProgress(const QString& text, const QString& objectName, QWidget* over);
    // `done` of `total` units of work; false: stop.
    bool carryOn(long long done, long long total);

private:
    QProgressDialog box_;
    QElapsedTimer sinceEvents_;
};

}  // namespace wachtrix::ui

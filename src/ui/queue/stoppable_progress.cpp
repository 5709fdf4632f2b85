#include "ui/queue/stoppable_progress.h"

#include <QCoreApplication>
#include <algorithm>

namespace wachtrix::ui {
namespace {

// Shorter work finishes before a box would be worth showing.
constexpr int kProgressDelayMs = 500;
// Events (Stop among them) are let through this often while the work goes on.
constexpr qint64 kEventIntervalMs = 20;
// The box counts in thousandths: the work's counts may pass what its int holds.
constexpr int kSteps = 1000;

}  // namespace

StoppableProgress::StoppableProgress(const QString& text, const QString& objectName, QWidget* over)
    : box_(text, "&Stop", 0, kSteps, over) {
    box_.setObjectName(objectName);
    box_.setWindowModality(Qt::WindowModal);
    box_.setMinimumDuration(kProgressDelayMs);
    box_.setAutoClose(false);
    box_.setAutoReset(false);
    box_.setValue(0);
    sinceEvents_.start();
}

bool StoppableProgress::carryOn(long long done, long long total) {
    if (sinceEvents_.elapsed() < kEventIntervalMs) return !box_.wasCanceled();
    sinceEvents_.restart();
    box_.setValue(static_cast<int>(total > 0 ? std::min<long long>(kSteps, done * kSteps / total)
                                             : 0));  // lets Stop through while the box is up
    QCoreApplication::processEvents();
    return !box_.wasCanceled();
}

}  // namespace wachtrix::ui

#pragma once
// The progress of the Markov analyses that iterate over time, with a Stop button. One instance
// lives for the whole program; the analyses only show, move and hide it.

#include <QDialog>
#include <QElapsedTimer>

#include "core/markov/progress.h"

class QProgressBar;
class QPushButton;

namespace wachtrix::ui {

class TMarkovProgress : public QDialog {
    Q_OBJECT
public:
    explicit TMarkovProgress(QWidget* parent = nullptr);

    void ResetProgress();  // position 0 of a maximum of 100
    // Shows the dialog kept above `starter`'s window (its transient parent) for as long as it
    // shows, whatever the user clicks meanwhile; null: above the dialog's owner.
    void ShowOver(QWidget* starter);
    void SetPosition(int position);
    int Position() const;

    // Set by Stop (or by trying to close the window); cleared before each run.
    bool StopRequested() const { return stopRequested_; }
    void ClearStopRequest() { stopRequested_ = false; }

public slots:
    void StopBtnClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool Running() const;

    QProgressBar* ProgressBar1;
    QPushButton* StopBtn;
    bool stopRequested_ = false;
};

// The program's instance, created at start-up; null before.
TMarkovProgress* MarkovProgress();
void SetMarkovProgress(TMarkovProgress* progress);

// The Progress the analyses talk to, over the program's dialog; without one it shows nothing
// and is never stopped. A round of events costs far more than a step of a small chain, so
// events are let through only every so many milliseconds: often enough for the bar to move and
// for Stop to answer at once, rarely enough not to slow the run.
class MarkovProgressRun : public Progress {
public:
    // `starter`: the window that started the run, which the dialog stays above.
    explicit MarkovProgressRun(TMarkovProgress* dialog, QWidget* starter = nullptr)
        : dialog_(dialog), starter_(starter) {}
    void reset() override;
    void show() override;
    void position(int percent) override;
    void processEvents() override;
    bool stopRequested() const override;
    void hide() override;

    static constexpr qint64 kEventIntervalMs = 20;

private:
    TMarkovProgress* dialog_;
    QWidget* starter_;
    QElapsedTimer sinceEvents_;
};

}  // namespace wachtrix::ui

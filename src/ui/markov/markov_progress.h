#pragma once

#include <QDialog>

namespace wachtrix::ui {

// Progress of the Markov time analyses, with Stop. One instance for the program's life.
class TMarkovProgress : public QDialog {
    Q_OBJECT
public:
    explicit TMarkovProgress(QWidget* parent = nullptr);
};

// The program's instance, created at start-up; null before.
TMarkovProgress* MarkovProgress();
void SetMarkovProgress(TMarkovProgress* progress);

}  // namespace wachtrix::ui

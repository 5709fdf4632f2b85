#pragma once
// Help opened by context number: 10 graph windows, 12 queue window, 13 Markov module,
// 100..200 the queue tabs.

class QWidget;

namespace wachtrix::ui {

// Opens (or raises) the help window on the topic with this context number.
void ShowHelpContext(int context, QWidget* from = nullptr);

// Tests: the last context opened, 0 when none.
int LastHelpContext();

}  // namespace wachtrix::ui

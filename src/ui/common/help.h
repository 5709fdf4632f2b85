#pragma once
// Help opened by context number: 10 graph windows, 12 queue window, 13 Markov module,
// 100..200 the queue tabs. The pages are shipped as resources and shown in a help window of the
// program's own.

#include <QIcon>
#include <QString>
#include <QStringList>

class QWidget;

namespace wachtrix::ui {

// Opens (or raises) the help window on the topic with this context number.
void ShowHelpContext(int context, QWidget* from = nullptr);

// Tests: the last context opened, 0 when none.
int LastHelpContext();

// The page of a context, "qrc:/help/mmc.html" for 120; the contents page for an unknown number.
QString HelpPageForContext(int context);

// The picture on every "&Help" button, the same in all windows.
QIcon HelpIcon();

// Every page of the help, contents first.
QStringList HelpPages();

}  // namespace wachtrix::ui

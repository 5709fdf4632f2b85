#pragma once
// Help opened by context number: the windows' own numbers below, and each queue model's from its
// registry entry (100..200). The pages are shipped as resources and shown in a help window of the
// program's own.

#include <QIcon>
#include <QString>
#include <QStringList>

class QWidget;

namespace wachtrix::ui {

inline constexpr int kGraphWindowHelp = 10;
inline constexpr int kQueueWindowHelp = 12;
inline constexpr int kMarkovHelp = 13;
inline constexpr int kNetworkHelp = 14;

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

#include "ui/common/help.h"

namespace wachtrix::ui {
namespace {
int lastContext = 0;
}

void ShowHelpContext(int context, QWidget*) { lastContext = context; }

int LastHelpContext() { return lastContext; }

}  // namespace wachtrix::ui

#include <QLocale>
#include <QScreen>

#include "ui/markov/markov_progress.h"
#include "ui/shell/pelmo_main.h"
#include "ui/shell/wachtrix_application.h"

int main(int argc, char* argv[]) {
    using namespace wachtrix::ui;
    // Numbers are read and written with "." as the decimal separator, whatever the user's locale.
    QLocale::setDefault(QLocale::c());

    TWachtrixApplication app(argc, argv);
    QApplication::setApplicationName("Pelmo voor Windows");
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(WACHTRIX_APP_ID);

    TPelmoMain window;
    auto* progress = new TMarkovProgress(&window);
    SetMarkovProgress(progress);
    // Maximized; the geometry also serves where no window manager maximizes.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    const int result = TWachtrixApplication::exec();
    SetMarkovProgress(nullptr);
    return result;
}

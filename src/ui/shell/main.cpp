#include <QApplication>

#include "ui/shell/pelmo_main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    wachtrix::ui::TPelmoMain window;
    window.showMaximized();
    return app.exec();
}

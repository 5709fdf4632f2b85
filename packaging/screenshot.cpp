// Draws the screenshot that software centres show, offscreen: the queue window after an M/M/c
// run of waiting-time probabilities. Run it when the windows change and publish the picture at
// the metainfo's screenshot address:
//   wachtrix_screenshot resources/screenshots/queue-window.png

#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "ui/common/radio_group.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/shell/pelmo_main.h"
#include "ui/shell/wachtrix_application.h"

using namespace wachtrix::ui;

namespace {

template <class Widget>
Widget* Find(const QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(name);
    if (!widget) {
        std::fprintf(stderr, "wachtrix_screenshot: no %s\n", name);
        std::exit(1);
    }
    return widget;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: wachtrix_screenshot FILE.png\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale::c());
    TWachtrixApplication app(argc, argv);
    TPelmoMain window;
    window.resize(1024, 640);
    window.show();
    window.StartQueueClick();

    auto* pages = Find<MultiRowTabWidget>(window, "PageControl");
    for (int i = 0; i < pages->count(); ++i)
        if (pages->tabBar()->tabText(i) == "M/M/c") pages->setCurrentIndex(i);
    Find<QLineEdit>(window, "MMC_C_edit")->setText("2");
    Find<QLineEdit>(window, "MMC_Rho_edit")->setText("0.8");
    Find<RadioGroup>(window, "MMC_Output_RadioGroup")->item(1)->click();
    const char* times[] = {"0.5", "1", "2", "5"};
    for (int i = 0; i < 4; ++i)
        Find<QLineEdit>(window, qPrintable(QString("MMC_TEdit%1").arg(i + 1)))->setText(times[i]);
    Find<QPushButton>(window, "MMC_Run_Button")->click();
    QApplication::processEvents();

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "wachtrix_screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

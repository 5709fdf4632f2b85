// Renders the pictures under docs/screenshots, in the light and a dark desktop palette:
//   QT_QPA_PLATFORM=offscreen build/bin/wachtrix-screenshots docs/screenshots
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <cstdio>
#include <cstdlib>

#include "chart/xy_graph.h"
#include "core/queue/queue_model.h"
#include "ui/common/dialogs.h"
#include "ui/common/radio_group.h"
#include "ui/graph/graph_window.h"
#include "ui/markov/markov_keuze_dialoog.h"
#include "ui/markov/string_grid.h"
#include "ui/network/network_window.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/queue_main_form.h"

using namespace wachtrix::ui;

namespace {

QPalette DarkPalette() {
    QPalette p;
    const QColor window(0x2b, 0x2b, 0x2f), base(0x1e, 0x1e, 0x22), text(0xe6, 0xe6, 0xe6);
    for (const auto role : {QPalette::Window, QPalette::Button})
        p.setColor(role, window);
    for (const auto role : {QPalette::Base, QPalette::AlternateBase, QPalette::ToolTipBase})
        p.setColor(role, base);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                            QPalette::ToolTipText, QPalette::BrightText})
        p.setColor(role, text);
    // The bevel shades, from which the style draws frames and the grids' lines.
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x56));
    p.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x46));
    p.setColor(QPalette::Mid, QColor(0x5a, 0x5a, 0x60));
    p.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x1b));
    p.setColor(QPalette::Shadow, QColor(0x0c, 0x0c, 0x0e));
    p.setColor(QPalette::Highlight, QColor(0x3d, 0x6e, 0xb4));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    return p;
}

[[noreturn]] void Fail(const QString& what) {
    std::fprintf(stderr, "wachtrix-screenshots: %s\n", qPrintable(what));
    std::exit(1);
}

// The windows are found by the objectNames the program gives them; a renamed one stops the run.
template <class T>
T* Child(const QObject* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (!found) Fail("no widget " + name);
    return found;
}

void Show(QWidget* window) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) Fail("a window was not shown");
}

void Type(QWidget* root, const char* name, const char* text) {
    Child<QLineEdit>(root, name)->setText(text);
}

}  // namespace

class Renderer {
public:
    Renderer(const QDir& out) : out_(out), light_(QApplication::palette()) {
        // No box may wait for an answer nobody gives; one that comes is a failure.
        Dialogs::setResponder([](const DialogRequest& request) -> DialogButton {
            Fail("a box came up: " + request.text);
        });
    }

    void Pictures(bool dark) {
        QApplication::setPalette(dark ? DarkPalette() : light_);
        const QString suffix = dark ? "-dark" : "-light";

        // The queue window on M/M/c after a table and a graph.
        TQueueMainForm form;
        form.resize(1000, 680);
        Show(&form);
        auto* tabs = Child<MultiRowTabWidget>(&form, "PageControl");
        for (int i = 0; i < tabs->count(); ++i)
            if (wachtrix::QueueModels()[static_cast<std::size_t>(i)]->key == "mmc")
                tabs->setCurrentIndex(i);
        Type(&form, "MMC_C_edit", "2");
        Type(&form, "MMC_Rho_edit", "0.8");
        Child<QPushButton>(&form, "MMC_Run_Button")->click();
        Child<RadioGroup>(&form, "MMC_Output_RadioGroup")->item(4)->click();
        Child<QPushButton>(&form, "MMC_Run_Button")->click();
        auto* graph = form.findChild<GraphWindow*>();
        if (!graph) Fail("the graph did not open");
        graph->hide();
        Save(form.grab().toImage(), "queue" + suffix);

        // The graph window with the readout of the point under the mouse.
        graph->resize(640, 460);
        Show(graph);
        wachtrix::chart::TxyGraph* chart = graph->chart(0);
        chart->grab();  // painted once, so the mouse maps onto scales
        const QRectF plot = chart->PlotRect();
        // Straight to the chart: the pointer of an offscreen desktop is wherever it was left.
        const QPointF at(plot.left() + plot.width() * 0.3, plot.center().y());
        QMouseEvent move(QEvent::MouseMove, at, chart->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(chart, &move);
        if (QToolTip::text().isEmpty()) Fail("the graph shows no readout");
        QImage picture = graph->grab().toImage();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible()) {
                QPainter painter(&picture);
                painter.drawPixmap(graph->mapFromGlobal(w->mapToGlobal(QPoint(0, 0))), w->grab());
            }
        Save(picture, "graph" + suffix);
        QToolTip::hideText();

        // The Markov dialog with a small chain.
        TMarkovKeuzeDialoog markov;
        Show(&markov);
        Type(&markov, "EditAantalStates", "3");
        QTest::keyClick(Child<QLineEdit>(&markov, "EditAantalStates"), Qt::Key_Return);
        const char* const cells[3][3] = {
            {"0.5", "0.5", "0"}, {"0.25", "0.5", "0.25"}, {"0", "0.5", "0.5"}};
        const char* const costs[3] = {"1", "0", "4"};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                Child<TStringGrid>(&markov, "sgOvergangsMatrix")->item(i, j)->setText(cells[i][j]);
            Child<TStringGrid>(&markov, "sgKostenVector")->item(i, 0)->setText(costs[i]);
        }
        Save(markov.grab().toImage(), "markov" + suffix);

        // The Networks window with a closed network of a delay, a three-server and a single-
        // server station, solved.
        TNetworks networks;
        networks.resize(900, 640);
        Show(&networks);
        Child<QComboBox>(&networks, "cbKind")->setCurrentIndex(1);
        Child<QSpinBox>(&networks, "seStations")->setValue(3);
        Type(&networks, "EditPopulation", "40");
        const char* stations[3][2] = {{"0", "20"}, {"3", "0.8"}, {"1", "0.25"}};
        const char* routing[3][3] = {{"0", "1", "0"}, {"0.3", "0", "0.7"}, {"1", "0", "0"}};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 2; ++j)
                Child<TStringGrid>(&networks, "sgStations")->setCell(i, j, stations[i][j]);
            for (int j = 0; j < 3; ++j)
                Child<TStringGrid>(&networks, "sgRouting")->setCell(i, j, routing[i][j]);
        }
        Save(networks.grab().toImage(), "networks-input" + suffix);
        networks.RunClick();
        Save(networks.grab().toImage(), "networks" + suffix);
    }

private:
    void Save(const QImage& image, const QString& name) {
        const QString path = out_.filePath(name + ".png");
        if (!image.save(path, nullptr, 9)) Fail("cannot write " + path);
    }

    QDir out_;
    QPalette light_;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());  // as the program itself
    if (argc != 2) Fail("usage: wachtrix-screenshots FOLDER");
    if (!QDir().mkpath(argv[1])) Fail(QString("cannot make ") + argv[1]);
    Renderer renderer{QDir(argv[1])};
    renderer.Pictures(false);
    renderer.Pictures(true);
    return 0;
}

#pragma once
// The Networks module window: the network on page "Input" (its kind, its stations and its
// routing, in grids that copy and paste blocks as the Markov grids do), the report on page
// "Results" with Save and Print, and for the populations of a closed network a graph window of
// the throughput and the mean cycle time beside their asymptotic bounds. Each change of a grid is
// one step of the window's undo stack; opening a network or changing its size starts it afresh.
// Input that cannot be solved is refused in a box that names the station, row or cell, and the
// cursor is put there.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

#include "core/network/network.h"
#include "ui/common/module_window.h"

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QUndoStack;

namespace wachtrix::ui {

class AppSettings;
class GraphWindow;
class ResultsPanel;
class TStringGrid;

class TNetworks : public QWidget, public ModuleWindow {
    Q_OBJECT
public:
    explicit TNetworks(QWidget* parent = nullptr, AppSettings* settings = nullptr);

    QMenu* fileMenu() override { return fileMenu_; }
    QMenu* editMenu() override { return editMenu_; }
    QMenu* helpMenu() override { return helpMenu_; }

    enum Page { InputPage = 0, ResultsPage = 1 };
    enum Analysis { SolveAnalysis = 0, PopulationsAnalysis = 1 };

    // The network in the grids, or why not (told in a box, the cursor on the place).
    void RunClick();
    // Reads a network file into the grids; a file that cannot be read is told in a box and
    // leaves the grids as they were.
    bool OpenNetwork(const QString& file);
    // Writes the grids' network (checked first) to the file, atomically.
    bool SaveNetwork(const QString& file);
    // The network as the grids and fields hold it, unchecked; nullopt after telling what is not
    // a number.
    std::optional<NetworkInput> CurrentInput();
    GraphWindow* graphWindow() const;  // of the last populations run, null when closed

private:
    QWidget* BuildInputPage();
    QWidget* BuildResultsPage();
    void BuildMenus();
    void SetStationCount(int count);  // resizes both grids, new cells filled with defaults
    void KindChanged();
    void LoadInput(const NetworkInput& input);
    void ShowFault(const NetworkFault& fault);
    void PlotPopulations(const Network& network);
    void OpenClick();
    void SaveClick();

    AppSettings* settings_;
    QString directory_;  // where networks and reports were last opened or saved
    QMenu* fileMenu_;
    QMenu* editMenu_;
    QMenu* helpMenu_;
    QUndoStack* undo_;
    QTabWidget* pages_;
    QComboBox* kind_;
    QSpinBox* stations_;
    QLineEdit* population_;
    QComboBox* analysis_;
    TStringGrid* stationGrid_;
    TStringGrid* routingGrid_;
    ResultsPanel* results_;
    QPushButton* run_;
    QPointer<GraphWindow> graph_;
};

}  // namespace wachtrix::ui

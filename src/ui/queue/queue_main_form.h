#pragma once
// The queue module window: one tab per queue model of the registry beside the Results panel. It
// computes nothing itself: each Run gathers its tab into the model's form, runs the model against
// this window as its QueueHost, and shows the rewritten value texts. Given settings, it opens
// on the tab and with the inputs of every tab it had when it last closed.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/queue/queue_host.h"
#include "core/text/result_writer.h"
#include "ui/common/module_window.h"
#include "ui/queue/edit_filter.h"
#include "ui/queue/queue_tab.h"

class QKeyEvent;
class QLineEdit;
class QMenu;

namespace wachtrix::ui {

class AppSettings;
class GraphWindow;
class MultiRowTabWidget;
class ResultsPanel;

class TQueueMainForm : public QWidget, public ModuleWindow, public QueueHost {
    Q_OBJECT
public:
    explicit TQueueMainForm(QWidget* parent = nullptr, AppSettings* settings = nullptr);
    ~TQueueMainForm() override;

    QMenu* fileMenu() override { return fileMenu_; }
    QMenu* windowMenu() override { return windowMenu_; }
    QMenu* helpMenu() override { return helpMenu_; }

    ResultWriter& results() override { return writer_; }
    // After the box the refused field has the cursor, its text selected.
    void showError(const std::string& title, const std::string& text,
                   const std::string& field) override;
    std::unique_ptr<BusyGuard> busy() override;
    GraphHandle createGraphWindow(GraphWindowKind kind,
                                  const std::vector<std::string>& labels) override;
    void plot(GraphHandle window, int chart, const ChartPlot& plot) override;
    void numericalFailure(const std::vector<std::string>& lines) override;

    // The graph window behind a handle, null when it was closed or never existed.
    GraphWindow* graphWindow(GraphHandle handle) const;

    // The tab of a model (by its registry key), null when there is none.
    QueueTab* tab(std::string_view key) const;

    // The graph windows still open, oldest first.
    std::vector<GraphWindow*> openGraphWindows() const;

    // Buttons and menu commands.
    void Run(QueueTab& tab);         // every Run button
    void MG1_Quit_ButtonClick();     // every Quit button
    void FinCap_Help_ButtonClick();  // every Help button
    // Every Scenario... button: the dialog, then the table in Results and its curves in a graph
    // window.
    void Scenario(QueueTab& tab);
    // The Simulate... dialog, then the tab's run with its simulation block after the report.
    void Simulate(QueueTab& tab);
    void ClearButtonClick();
    void PrintButtonClick();  // without a printer: offered as a PDF file
    void SaveButtonClick();   // plain text, HTML or PDF, by the file's type
    void PreviewButtonClick();
    void Close1Click();
    void Exit1Click();
    void HelpTopics1Click();
    // "&Window": the graph windows stepped from the top left of the Results side, side by side
    // over it, or all closed.
    void CascadeGraphsClick();
    void TileGraphsClick();
    void CloseAllGraphsClick();

    // Input handlers shared by the tabs.
    void RealEditChange(QLineEdit* edit);
    void IntEditChange(QLineEdit* edit);
    void EditEnter(QLineEdit* edit);
    void EditExit(QLineEdit* edit);

    // Wires a number edit of a tab: its filter and its colour while it has the focus.
    void wireEdit(QLineEdit* edit, EditFilter filter);

    MultiRowTabWidget* PageControl = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;   // remembers the tab and the inputs
    void keyPressEvent(QKeyEvent* event) override;  // the help key outside the tabs

private:
    void buildMenus();
    void listGraphWindows();  // the "&Window" menu as it opens
    QRect graphArea() const;  // where graph windows open: the Results side, within the screen
    QWidget* buildResultsColumn();
    void closeModule();
    void rememberSaveFolder(const QString& before);

    AppSettings* settings_;
    ResultsPanel* Results = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    ResultWriter writer_;
    QString lastDirectory_;  // where Save and the PDF of Print were last written
    // The graph windows the runs asked for, by handle; a closed one is null.
    std::vector<QPointer<GraphWindow>> graphWindows_;

    std::vector<std::unique_ptr<QueueTab>> tabs_;  // in the registry's order
    QueueTab* runningTab_ = nullptr;               // whose field a refusal names
};

// The open queue window, through which the model runs reach its controls; null while none is.
extern TQueueMainForm* QueueMainForm;

}  // namespace wachtrix::ui

#pragma once
// The queue module window: ten model tabs and the Staffing tab beside the Results panel. It
// computes nothing itself: each Run gathers its tab into the model's form, runs the model against
// this window as its QueueHost, and shows the rewritten value texts.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/queue/queue_host.h"
#include "core/text/result_writer.h"
#include "core/text/value_list.h"
#include "ui/common/module_window.h"

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace wachtrix::ui {

class GraphWindow;
class MultiRowTabWidget;
class RadioGroup;
class ResultsPanel;

// The twelve edits of one t-, n- or p-value group, in the order 1..12.
using EditGroup = std::array<QLineEdit*, 12>;

// A group's texts for a model form, and the model's rewrite shown back in the edits.
TEditArray EditTexts(const EditGroup& edits);
void SetEditTexts(const EditGroup& edits, const TEditArray& texts);

// A parameter edit with its caption and range label (either may be absent).
struct ParameterField {
    QLabel* label = nullptr;
    QLabel* range = nullptr;
    QLineEdit* edit = nullptr;
    void setVisible(bool visible) const;
};

// The t-, n- and p-value groups of a tab (absent ones stay null).
struct ValueGroups {
    QGroupBox* t = nullptr;
    QGroupBox* n = nullptr;
    QGroupBox* p = nullptr;
    void show(bool showT, bool showN, bool showP) const;
};

class TQueueMainForm : public QWidget, public ModuleWindow, public QueueHost {
    Q_OBJECT
public:
    explicit TQueueMainForm(QWidget* parent = nullptr);
    ~TQueueMainForm() override;

    QMenu* fileMenu() override { return fileMenu_; }
    QMenu* helpMenu() override { return helpMenu_; }

    ResultWriter& results() override { return writer_; }
    void showError(const std::string& title, const std::string& text) override;
    std::unique_ptr<BusyGuard> busy() override;
    GraphHandle createGraphWindow(GraphWindowKind kind,
                                  const std::vector<std::string>& labels) override;
    void plot(GraphHandle window, int chart, const ChartPlot& plot) override;
    void numericalFailure(const std::vector<std::string>& lines) override;

    // The graph window behind a handle, null when it was closed or never existed.
    GraphWindow* graphWindow(GraphHandle handle) const;

    // The value groups the model runs read and rewrite.
    EditGroup MG1_TEdits{}, MG1_PEdits{}, MG1_NEdits{};
    EditGroup MDC_TEdits{}, MDC_PEdits{}, MDC_NEdits{};
    EditGroup DG1_TEdits{}, DG1_PEdits{}, DG1_NEdits{};
    EditGroup MMC_TEdits{}, MMC_PEdits{}, MMC_NEdits{};
    EditGroup DMC_TEdits{}, DMC_PEdits{}, DMC_NEdits{};
    EditGroup GMC_TEdits{}, GMC_PEdits{};
    EditGroup FinCap_TEdits{}, FinCap_NEdits{};
    EditGroup FinSrc_TEdits{}, FinSrc_NEdits{};
    EditGroup MM1_TEdits{};

    // Buttons and menu commands.
    void MG1_Run_ButtonClick();
    void DG1_Run_ButtonClick();
    void MMC_Run_ButtonClick();
    void MDC_Run_ButtonClick();
    void DMC_Run_ButtonClick();
    void GMC_Run_ButtonClick();
    void FinCap_Run_ButtonClick();
    void MMCN_Run_ButtonClick();
    void FinSrc_Run_ButtonClick();
    void MM1_Run_ButtonClick();
    void Staffing_Run_ButtonClick();
    void MG1_Quit_ButtonClick();     // every Quit button
    void FinCap_Help_ButtonClick();  // every Help button
    void ClearButtonClick();
    void PrintButtonClick();  // without a printer: offered as a PDF file
    void SaveButtonClick();   // plain text, HTML or PDF, by the file's type
    void PreviewButtonClick();
    void Close1Click();
    void Exit1Click();
    void HelpTopics1Click();

    // Input handlers shared by the tabs.
    void RealEditChange(QLineEdit* edit);
    void IntEditChange(QLineEdit* edit);
    void EditEnter(QLineEdit* edit);
    void EditExit(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;  // the help key outside the tabs

private:
    class PageBuilder;
    void modelNotAvailable();
    enum class EditFilter { Real, Integer, None, Own };

    struct Mg1Tab {
        ParameterField cs2, rho;
        RadioGroup* service = nullptr;
        RadioGroup* output = nullptr;
        ValueGroups values;
    };
    struct Dg1Tab {
        ParameterField cs2, rho;
        RadioGroup* service = nullptr;
        RadioGroup* coxianOutput = nullptr;
        RadioGroup* pureErlangOutput = nullptr;
        ValueGroups values;
    };
    struct MultiServerTab {  // M/M/c, M/D/c, D/M/c
        ParameterField c, rho;
        RadioGroup* output = nullptr;
        RadioGroup* graphs = nullptr;  // D/M/c only
        ValueGroups values;
    };
    struct GmcTab {
        ParameterField c, rho, ca2;
        RadioGroup* arrivals = nullptr;
        RadioGroup* output = nullptr;
        ValueGroups values;
        QString savedCA2;  // what the user typed before Deterministic blanked it
    };
    struct FinCapTab {
        ParameterField c, rho, n;
        RadioGroup* type = nullptr;
        RadioGroup* output1 = nullptr;
        RadioGroup* output2 = nullptr;
        ValueGroups values;
    };
    struct MmcnTab {
        ParameterField arrival, es, t, cap, cFrom, cTo, c, nFrom, nTo;
        QGroupBox* varyC = nullptr;
        QGroupBox* varyN = nullptr;
        RadioGroup* xAxis = nullptr;
        RadioGroup* yAxis = nullptr;
    };
    struct FinSrcTab {
        ParameterField c, m, nu;
        RadioGroup* service = nullptr;
        RadioGroup* output = nullptr;
        RadioGroup* graphs = nullptr;
        ValueGroups values;
    };
    struct StaffingTab {
        ParameterField a, ca2, t, alpha, w, maxRho;
        RadioGroup* model = nullptr;
        RadioGroup* arrivals = nullptr;
        RadioGroup* target = nullptr;
        QCheckBox* graph = nullptr;
        QString savedCA2;  // as on the G/M/c tab
    };
    struct Mm1Tab {
        ParameterField rho, initial, end, t;
        RadioGroup* output = nullptr;
        ValueGroups values;
    };

    void buildMenus();
    QWidget* buildResultsColumn();
    void addPage(QWidget* page, const QString& caption);
    void buildMG1Page();
    void buildDG1Page();
    void buildMMCPage();
    void buildMDCPage();
    void buildDMCPage();
    void buildGMCPage();
    void buildFinCapPage();
    void buildMMCNPage();
    void buildFinSrcPage();
    void buildMM1Page();
    void buildStaffingPage();
    void wireEdit(QLineEdit* edit, EditFilter filter);
    void connectRules();

    // Label and visibility rules.
    void MG1_ServiceTypeChange();
    void MG1_OutputChange();
    void DG1_ServiceTypeChange();
    void DG1_ValueGroupsUpdate();
    void MMC_OutputChange();
    void MDC_OutputChange();
    void DMC_OutputChange();
    void GMC_OutputChange();
    void GMC_ArrivalsChange();
    void FinCap_QueueTypeChange();
    void FinCap_ValueGroupsUpdate();
    void FinCap_NValuesCaptionUpdate();
    void FinCap_C_editChange();
    void FinCap_N_editChange();
    void MMCN_XAxisChange();
    void MMCN_YAxisChange();
    void FinSrc_ServiceTypeChange();
    void FinSrc_OutputChange();
    void FinSrc_N_EditChange();
    void MM1_OutputChange();
    void MM1_Rho_editChange();
    void Staffing_ModelChange();
    void Staffing_ArrivalsChange();
    void Staffing_TargetChange();

    void closeModule();
    static std::string Text(const ParameterField& field);

    // A refusal box names its field ("c incorrect", "Rho out of range", "Upper bound on N out
    // of range"); each Run lists its tab's fields by those names, and after the box the refused
    // field gets the cursor with its text selected.
    struct RefusableField {
        const char* subject;  // the box text without " incorrect" etc., or the whole text
        QLineEdit* edit;
    };
    void setRefusable(std::vector<RefusableField> fields) { refusable_ = std::move(fields); }
    QLineEdit* RefusedField(const QString& text) const;
    // M/M/c and M/D/c: c, rho, the Output item and the three value groups into the model's form;
    // after the run, the texts the readers rewrote back into the edits.
    template <class Form>
    void runMultiServerTab(const MultiServerTab& tab, const EditGroup& t, const EditGroup& p,
                           const EditGroup& n, void (*run)(Form&, QueueHost&));

    MultiRowTabWidget* PageControl = nullptr;
    ResultsPanel* Results = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    ResultWriter writer_;
    QString lastDirectory_;
    std::vector<RefusableField>
        refusable_;  // of the tab that runs  // where Save and the PDF of Print were last written
    // The graph windows the runs asked for, by handle; a closed one is null.
    std::vector<QPointer<GraphWindow>> graphWindows_;

    Mg1Tab mg1_;
    Dg1Tab dg1_;
    MultiServerTab mmc_, mdc_, dmc_;
    GmcTab gmc_;
    FinCapTab finCap_;
    MmcnTab mmcn_;
    FinSrcTab finSrc_;
    Mm1Tab mm1_;
    StaffingTab staffing_;
};

// The open queue window, through which the model runs reach its controls; null while none is.
extern TQueueMainForm* QueueMainForm;

}  // namespace wachtrix::ui

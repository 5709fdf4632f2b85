#pragma once
// The Markov dialog where all the work is done: the chain on page "Input", the analysis on
// page "Choice of Output", the reports on page "Results". A tool window owned by the Markov
// window (above the program's windows, not above other programs'), which it asks to close.
// Each change of the chain's grids (a cell, a paste, Clear, the number of states) is one step of
// its undo stack; opening a chain or changing its kind starts the stack afresh.

#include <QDialog>
#include <QTextDocument>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/markov/chain_data.h"
#include "core/markov/chain_input.h"
#include "core/markov/markov_analysis.h"
#include "ui/markov/string_grid.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QUndoStack;

namespace wachtrix::ui {

class AppSettings;
class RadioGroup;
class TSpinEdit;

class TMarkovKeuzeDialoog : public QDialog {
    Q_OBJECT
public:
    // With settings, the dialog comes back where it was with the simple fields of the last
    // session (not the grids), and keeps the recent chains and the folders of its file dialogs.
    explicit TMarkovKeuzeDialoog(QWidget* parent = nullptr, AppSettings* settings = nullptr);

    void OpenBtnClick();
    void SaveBtnClick();
    // A chain of the recent list; one that is gone is taken off the list, and the user told.
    void OpenRecentChain(const QString& file);
    // Remembers the place and the simple fields, as the module closes.
    void SaveSettings();

    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }

    // The owner closes: from now on the dialog's close box closes the dialog itself.
    void SetOwnerClosing() { ownerClosing_ = true; }

    wachtrix::ChainKind chainKind() const { return ChainKind; }
    // The chain of the last Run.
    const ChainData& chainData() const { return chain_; }

    // Indexes of the pages and of the result tabs.
    enum Page { InputPage = 0, ChoicePage = 1, ResultsPage = 2 };
    enum ResultTab {
        StructureTab = 0,
        SteadyStateTab = 1,
        TransientTab = 2,
        FirstPassageTab = 3,
        MeanPassageTab = 4,
    };
    static constexpr int kResultTabs = 5;

signals:
    // "&Quit" or the close box: the owner asks whether to close the module.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // Handlers.
    void SpeedButton1Click();
    void cbSoortMarkovChainChange(int index);
    void ClearBtnClick();
    void SimuleerBtnClick();
    void VolgendeBtnClick();
    void VorigeBtnClick();
    void PageControl1Change(int index);
    void seTimePointsChange(int count);
    void seTimePoints2Change(int count);
    void seEndStatesChange(int count);
    void rgSoortClick(int index);
    void rgTransientChoiceClick(int index);

    // Building.
    QWidget* BuildInputPage();
    QWidget* BuildChoicePage();
    QGroupBox* BuildTransientGroup();
    QGroupBox* BuildFirstPassageGroup();
    QWidget* BuildResultsPage();
    QLayout* BuildButtonBar();

    // Grids and pages.
    int StateCount() const;  // the grid decides, not the states edit
    void ApplyStateCount(int n);
    void SetChainKind(wachtrix::ChainKind kind);  // the combo, the caption and cleared grids
    bool GridsHoldOnlyZeros() const;
    void RebuildCostGrid();
    void LoadChain(const ChainInput& chain);
    void OpenChain(const QString& file);
    std::vector<CellChange> ClearChanges() const;
    void RestoreSettings();
    void RememberSaveFolder(const QString& before);

    // The chain's grids as they stand: an undo step of the number of states holds them whole.
    struct GridTexts {
        int states = 0;
        QStringList matrix;  // row by row
        QStringList costs;
        bool operator==(const GridTexts&) const = default;
    };
    GridTexts CurrentGridTexts() const;
    void RestoreGridTexts(const GridTexts& texts);
    ChainInput CurrentChain() const;
    void ResetOutputChoices();
    void FollowInputChange();
    void UpdateNavigation();
    void SetMemoVisible(int tab, bool visible);
    // The memo of the result tab on view, null while it shows "No results".
    QPlainTextEdit* VisibleMemo() const;
    QString MemoTitle() const;
    // The chain, then the report on view, as Save, Print and Preview keep it; null without one.
    std::unique_ptr<QTextDocument> KeptReport() const;
    void UpdateResultButtons();  // Save, Print and Preview only where there are results
    void ShowReport(int tab, const std::vector<std::string>& lines);
    void ShowError(const QString& text);
    void PutCursorOn(TStringGrid* grid, int row, int column);  // and the focus
    void ShowRefusedChoice(const InputPlace& place);

    // What the output-choice page holds.
    MarkovChoice CurrentChoice() const;

    // State.
    wachtrix::ChainKind ChainKind = wachtrix::ChainKind::Discrete;
    bool InputChanged = false;
    bool FirstRun = true;
    int LastPage = ChoicePage;
    ChainData chain_;
    bool ownerClosing_ = false;
    bool running_ = false;  // an analysis is running
    int activePage_ = InputPage;
    AppSettings* settings_;
    QString openDirectory_;  // where chains were last opened from
    QString saveDirectory_;  // where chains and reports were last saved
    QUndoStack* undo_;
    QAction* undoAction_;
    QAction* redoAction_;

    // Components, named as the user interface names them.
    QTabWidget* PageControl1;
    QLineEdit* EditAantalStates;
    QToolButton* SpeedButton1;
    TStringGrid* sgOvergangsMatrix;
    TStringGrid* sgKostenVector;
    QComboBox* cbSoortMarkovChain;
    RadioGroup* rgSoort;
    QPushButton* SimuleerBtn;
    QGroupBox* gbTransient;
    QLineEdit* EditInitialState;
    TSpinEdit* seTimePoints;
    TStringGrid* sgTimePoints;
    RadioGroup* rgTransientChoice;
    QLabel* LabelEndStates;
    TSpinEdit* seEndStates;
    TStringGrid* sgEndStates;
    QGroupBox* gbFirstPassage;
    QLineEdit* editStartingState;
    TSpinEdit* seTimePoints2;
    TStringGrid* sgTimePoints2;
    RadioGroup* rgReturnSet;
    QLineEdit* EditStateA;
    QTabWidget* PageControl2;
    QPlainTextEdit* memos_[kResultTabs];
    QLabel* noResults_[kResultTabs];
    QPushButton* VorigeBtn;
    QPushButton* VolgendeBtn;
    std::array<QPushButton*, 3> resultButtons_{};
};

}  // namespace wachtrix::ui

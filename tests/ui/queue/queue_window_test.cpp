// The queue window driven as a user would: typing into the fields, choosing items, reading
// Results, answering its boxes.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <algorithm>

#include "chart/xy_graph.h"
#include "core/numeric/numerical_failure.h"
#include "core/queue/dg1.h"
#include "core/queue/dmc.h"
#include "core/queue/finqueue.h"
#include "core/queue/gmc.h"
#include "core/queue/machine.h"
#include "core/queue/mdc.h"
#include "core/queue/mg1.h"
#include "core/queue/mm1_tran.h"
#include "core/queue/mmc.h"
#include "core/queue/qgraph.h"
#include "core/queue/staffing.h"
#include "support/recording_host.h"
#include "ui/common/dialog_recorder.h"
#include "ui/common/help.h"
#include "ui/common/radio_group.h"
#include "ui/graph/gmc_graph1.h"
#include "ui/graph/graph_window.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/queue_main_form.h"
#include "ui/queue/results_panel.h"

using namespace wachtrix;
using namespace wachtrix::ui;
using wachtrix::testing::DialogRecorder;

namespace {

// A line of Results as text with its style letter, "T:M/M/c queue".
QStringList StyledLines(const QTextEdit* results) {
    QStringList lines;
    for (QTextBlock block = results->document()->begin(); block.isValid(); block = block.next()) {
        QChar style = '-';  // an empty line has no style to show
        if (!block.text().isEmpty()) {
            const QTextCharFormat f = block.begin().fragment().charFormat();
            const bool blue = f.foreground().color() == QColor(Qt::blue);
            const bool black = f.foreground().color() == QColor(Qt::black);
            if (blue && f.fontItalic() && f.fontUnderline() && f.fontWeight() == QFont::Normal)
                style = 'T';
            else if (black && f.fontWeight() == QFont::Bold && !f.fontItalic() &&
                     !f.fontUnderline())
                style = 'B';
            else if (black && f.fontUnderline() && !f.fontItalic() &&
                     f.fontWeight() == QFont::Normal)
                style = 'U';
            else if (black && !f.fontUnderline() && !f.fontItalic() &&
                     f.fontWeight() == QFont::Normal)
                style = 'N';
            else
                style = '?';
            // One style for the whole line.
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat() != f) style = '?';
        }
        lines << QString(style) + ":" + block.text();
    }
    return lines;
}

// The lines the same run writes through the tests' recording host, in StyledLines' notation.
template <class Run>
QStringList CoreLines(Run&& run) {
    testing::RecordingHost host;
    run(host);
    QStringList lines;
    for (const StyledLine& line : host.sink.lines)
        lines << (line.text.empty()
                      ? QString("-:")
                      : QString(StyleLetter(line.style)) + ":" + QString::fromStdString(line.text));
    return lines;
}

}  // namespace

class QueueWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        form_ = new TQueueMainForm;
        form_->resize(1200, 900);
    }
    void cleanup() {
        delete form_.data();
        QCOMPARE(QueueMainForm, nullptr);
    }

    void opensOnMDcWithItsInitialTexts() {
        QCOMPARE(QueueMainForm, form_.data());
        QCOMPARE(form_->windowTitle(), QString("Module Queue"));
        auto* pages = find<MultiRowTabWidget>("PageControl");
        QCOMPARE(pages->count(), 11);
        QCOMPARE(pages->tabBar()->tabText(pages->currentIndex()), QString("M/D/c"));
        QCOMPARE(pages->currentWidget()->findChild<QWidget*>("MDC_TabSheet") != nullptr, true);
        QCOMPARE(edit("GMC_CA2_Edit")->text(), QString("0"));
        QVERIFY(!edit("GMC_CA2_Edit")->isEnabled());
        QCOMPARE(label("GMC_CA2_range_label"), QString("(deterministic)"));
        QCOMPARE(label("MG1_Rho_range_label"), QString("<= 0.99 "));
        QCOMPARE(label("DG1_CS2_range_label"), QString("0.01 <= CS2 <= 1 "));
        QCOMPARE(label("MM1_initial_state_range_label"), QString());
        QCOMPARE(find<QGroupBox>("FinCap_NValues_GroupBox")->title(), QString("n-values"));
        QCOMPARE(find<QGroupBox>("MM1_TValues_GroupBox")->title(),
                 QString("t-values (0.01 <= t <= 1e6)"));
        QCOMPARE(find<QPushButton>("MMC_Run_Button")->toolTip(),
                 QString("Perform calculations (Alt-R is a shortcut)"));
        QCOMPARE(find<QPushButton>("FinSrc_Quit_Button")->toolTip(),
                 QString("Exit the application (Alt-Q is a shortcut)"));
        QCOMPARE(StyledLines(results()).first().left(8), QString("N:QUEUE,"));
    }

    void valueGroupsAreTheTwelveEditsInOrder() {
        const std::pair<EditGroup*, QString> groups[] = {
            {&form_->MG1_TEdits, "MG1_TEdit"},       {&form_->MG1_PEdits, "MG1_PEdit"},
            {&form_->MG1_NEdits, "MG1_NEdit"},       {&form_->MDC_TEdits, "MDC_TEdit"},
            {&form_->MDC_PEdits, "MDC_PEdit"},       {&form_->MDC_NEdits, "MDC_NEdit"},
            {&form_->DG1_TEdits, "DG1_TEdit"},       {&form_->DG1_PEdits, "DG1_PEdit"},
            {&form_->DG1_NEdits, "DG1_NEdit"},       {&form_->MMC_TEdits, "MMC_TEdit"},
            {&form_->MMC_PEdits, "MMC_PEdit"},       {&form_->MMC_NEdits, "MMC_NEdit"},
            {&form_->DMC_TEdits, "DMC_TEdit"},       {&form_->DMC_PEdits, "DMC_PEdit"},
            {&form_->DMC_NEdits, "DMC_NEdit"},       {&form_->GMC_TEdits, "GMC_TEdit"},
            {&form_->GMC_PEdits, "GMC_PEdit"},       {&form_->FinCap_TEdits, "FinCap_TEdit"},
            {&form_->FinCap_NEdits, "FinCap_NEdit"}, {&form_->FinSrc_TEdits, "FinSrc_TEdit"},
            {&form_->FinSrc_NEdits, "FinSrc_NEdit"}, {&form_->MM1_TEdits, "MM1_TEdit"},
        };
        for (const auto& [group, stem] : groups)
            for (int i = 0; i < 12; ++i)
                QCOMPARE((*group)[i], edit(stem + QString::number(i + 1)));

        TEditArray texts{" 3", "", "1", "1.2.3**"};
        SetEditTexts(form_->MMC_TEdits, texts);
        // The readers' rewrite is shown as it stands: no filter takes the marks away.
        QCOMPARE(edit("MMC_TEdit4")->text(), QString("1.2.3**"));
        QCOMPARE(EditTexts(form_->MMC_TEdits), texts);
    }

    void typingKeepsOnlyNumbers() {
        QLineEdit* rho = edit("MMC_Rho_edit");
        QTest::keyClicks(rho, "1e-3");
        QCOMPARE(rho->text(), QString("13"));
        QCOMPARE(rho->cursorPosition(), 2);

        QLineEdit* c = edit("MMC_C_edit");
        QTest::keyClicks(c, "-2");
        QCOMPARE(c->text(), QString("2"));
        QTest::keyClicks(c, ".5,");
        QCOMPARE(c->text(), QString("25"));

        // Typing in the middle: the caret stays after the last kept character.
        rho->setText("12");
        rho->setCursorPosition(1);
        QTest::keyClicks(rho, "x5");
        QCOMPARE(rho->text(), QString("152"));
        QCOMPARE(rho->cursorPosition(), 2);

        QApplication::clipboard()->setText("a0.b5");
        QLineEdit* t = edit("MMC_TEdit1");
        t->clear();
        t->paste();
        QCOMPARE(t->text(), QString("0.5"));

        // Integer value groups refuse the point; the first D/G/1 n-value takes anything.
        QTest::keyClicks(edit("MMC_NEdit1"), "2.5");
        QCOMPARE(edit("MMC_NEdit1")->text(), QString("25"));
        QTest::keyClicks(edit("DG1_NEdit1"), "x1");
        QCOMPARE(edit("DG1_NEdit1")->text(), QString("x1"));
        QTest::keyClicks(edit("DG1_NEdit2"), "x1");
        QCOMPARE(edit("DG1_NEdit2")->text(), QString("1"));

        // The fields with labels to update filter too.
        for (const char* name : {"FinCap_C_edit", "FinCap_N_edit", "FinSrc_N_Edit"}) {
            QTest::keyClicks(edit(name), "1.5e");
            QCOMPARE(edit(name)->text(), QString("15"));
        }
        QTest::keyClicks(edit("MM1_Rho_edit"), "-0,5e");
        QCOMPARE(edit("MM1_Rho_edit")->text(), QString("05"));
    }

    void gmcKeepsTheTypedCA2() {
        auto* arrivals = find<RadioGroup>("GMC_Arrivals_RadioGroup");
        QLineEdit* ca2 = edit("GMC_CA2_Edit");
        arrivals->item(1)->click();
        QVERIFY(ca2->isEnabled());
        QCOMPARE(ca2->text(), QString());
        QCOMPARE(label("GMC_CA2_range_label"), QString("0.01 <= CA2 <= 1"));
        QTest::keyClicks(ca2, "0.5");

        arrivals->item(0)->click();
        QCOMPARE(ca2->text(), QString("0"));
        QVERIFY(!ca2->isEnabled());
        QCOMPARE(label("GMC_CA2_range_label"), QString("(deterministic)"));

        arrivals->item(2)->click();
        QCOMPARE(ca2->text(), QString("0.5"));
        QVERIFY(ca2->isEnabled());
        QCOMPARE(label("GMC_CA2_range_label"), QString("0.5 <= CA2 <= 100"));
        arrivals->item(3)->click();
        QCOMPARE(ca2->text(), QString("0.5"));
        QCOMPARE(label("GMC_CA2_range_label"), QString("0.5 <= CA2 <= 100"));
        arrivals->item(1)->click();
        QCOMPARE(label("GMC_CA2_range_label"), QString("0.01 <= CA2 <= 1"));
    }

    void serviceTypesSetTheirRanges() {
        auto* mg1 = find<RadioGroup>("MG1_Service_Type_RadioGroup");
        mg1->item(1)->click();
        QCOMPARE(label("MG1_CS2_range_label"), QString("0.5 <= CS2 <= 100"));
        mg1->item(2)->click();
        QCOMPARE(label("MG1_CS2_range_label"), QString("0.5 <= CS2 <= 100"));
        mg1->item(0)->click();
        QCOMPARE(label("MG1_CS2_range_label"), QString("0.01 <= CS2 <= 1"));

        auto* dg1 = find<RadioGroup>("DG1_Service_Type_RadioGroup");
        const struct {
            int item;
            const char *caption, *range;
            bool pureErlang;
        } dg1Rows[] = {{1, "1/CS2:", "1..100", true},
                       {2, "CS2:", "0.5 <= CS2 <= 100", false},
                       {3, "CS2:", "0.5 <= CS2 <= 100", false},
                       {1, "1/CS2:", "1..100", true},
                       {0, "CS2:", "0.01 <= CS2 <= 1", false}};
        for (const auto& row : dg1Rows) {
            dg1->item(row.item)->click();
            QCOMPARE(label("DG1_CS2_label"), QString(row.caption));
            QCOMPARE(label("DG1_CS2_range_label"), QString(row.range));
            QCOMPARE(shown("DG1_Pure_Erlang_Output_RadioGroup"), row.pureErlang);
            QCOMPARE(shown("DG1_Coxian_Output_RadioGroup"), !row.pureErlang);
        }

        auto* finSrc = find<RadioGroup>("FinSrc_service_radio_group");
        finSrc->item(1)->click();
        QCOMPARE(label("FinSrc_c_range_label"), QString("<= 250"));
        finSrc->item(0)->click();
        QCOMPARE(label("FinSrc_c_range_label"), QString("<= 500"));

        auto* type = find<RadioGroup>("FinCap_Queue_Type");
        const struct {
            int item;
            const char *c, *n;
            bool output2;
        } finCapRows[] = {{1, "<=500", "<=1000", false},
                          {2, "<=500", "<=500", true},
                          {0, "<=2500", "<=1000", false}};
        for (const auto& row : finCapRows) {
            type->item(row.item)->click();
            QCOMPARE(label("FinCap_C_range_label"), QString(row.c));
            QCOMPARE(label("FinCap_N_range_label"), QString(row.n));
            QCOMPARE(shown("FinCap_Output2"), row.output2);
            QCOMPARE(shown("FinCap_Output1"), !row.output2);
        }
    }

    // Each choice in turn, from the first item to the last, shows exactly what it needs.
    void outputChoicesShowTheirGroups_data() {
        QTest::addColumn<QString>("setupGroup");
        QTest::addColumn<int>("setupItem");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<QList<QStringList>>("shownPerItem");

        const auto values = [](const QString& tab, const QString& kinds) {
            QStringList names;
            for (QChar k : kinds)
                names << QString("%1_%2Values_GroupBox").arg(tab).arg(k);
            return names;
        };
        // The value groups each item shows, by their letters: "" for none.
        const auto perItem = [&](const QString& tab, const QStringList& kinds) {
            QList<QStringList> shown;
            for (const QString& k : kinds)
                shown << values(tab, k);
            return shown;
        };
        for (const QString tab : {"MG1", "MMC", "MDC"})
            QTest::newRow(qPrintable(tab))
                << QString() << 0 << tab + "_Output_RadioGroup" << values(tab, "TNP")
                << perItem(tab, {"", "T", "P", "N", ""});
        for (int type : {0, 2, 3})
            QTest::addRow("D/G/1 type %d", type)
                << "DG1_Service_Type_RadioGroup" << type << "DG1_Coxian_Output_RadioGroup"
                << values("DG1", "TNP") << perItem("DG1", {"", "T", "P", ""});
        QTest::newRow("D/G/1 pure Erlang")
            << "DG1_Service_Type_RadioGroup" << 1 << "DG1_Pure_Erlang_Output_RadioGroup"
            << values("DG1", "TNP") << perItem("DG1", {"", "T", "P", "N", "N", ""});
        const QStringList dmcGraph = {"DMC_Graph_GroupBox"};
        QTest::newRow("D/M/c") << QString() << 0 << "DMC_Output_RadioGroup"
                               << values("DMC", "TNP") + dmcGraph
                               << (perItem("DMC", {"", "T", "P", "N", "N"}) << dmcGraph);
        QTest::newRow("G/M/c") << QString() << 0 << "GMC_Output_RadioGroup" << values("GMC", "TP")
                               << perItem("GMC", {"", "T", "P", ""});
        for (int type : {0, 1})
            QTest::addRow("finite capacity type %d", type)
                << "FinCap_Queue_Type" << type << "FinCap_Output1" << values("FinCap", "TN")
                << perItem("FinCap", {"", "T", "N", ""});
        QTest::newRow("finite capacity D/M/c/c+N")
            << "FinCap_Queue_Type" << 2 << "FinCap_Output2" << values("FinCap", "TN")
            << perItem("FinCap", {"", "T", "N", "N", ""});
        const QStringList finSrcGraph = {"FinSrc_Graph_Radio_Group"};
        QTest::newRow("finite source")
            << QString() << 0 << "FinSrc_Output_radio_group" << values("FinSrc", "TN") + finSrcGraph
            << (perItem("FinSrc", {"", "T", "N", "N"}) << finSrcGraph);
        const QStringList none;
        const QStringList single = {"MM1_t_edit", "MM1_t_label", "MM1_t_range_label"};
        const QStringList end = {"MM1_end_state_edit", "MM1_end_state_label",
                                 "MM1_end_state_range_label"};
        QTest::newRow("transient M/M/1")
            << QString() << 0 << "MM1_Output_radio_group"
            << single + end + QStringList{"MM1_TValues_GroupBox"}
            << QList<QStringList>{end + QStringList{"MM1_TValues_GroupBox"}, single + end,
                                  single + end, single, single};
        QTest::newRow("M/M/c/c+N x-axis")
            << QString() << 0 << "MMCN_type_radio_group"
            << QStringList{"MMCN_Input_vary_c", "MMCN_input_vary_N"}
            << QList<QStringList>{{"MMCN_Input_vary_c"}, {"MMCN_input_vary_N"}};
        const QStringList time = {"MMCN_t_edit", "MMCN_t_label", "MMCN_t_range_label"};
        QTest::newRow("M/M/c/c+N y-axis")
            << QString() << 0 << "MMCN_Graph_radio_group" << time << QList<QStringList>{none, time};
        const QStringList arrivals = {"Staffing_Arrivals_RadioGroup", "Staffing_CA2_Edit",
                                      "Staffing_CA2_label", "Staffing_CA2_range_label"};
        QTest::newRow("Staffing model") << QString() << 0 << "Staffing_Model_RadioGroup" << arrivals
                                        << QList<QStringList>{none, none, none, arrivals};
        const QStringList t = {"Staffing_T_edit", "Staffing_T_label", "Staffing_T_range_label"};
        const QStringList alpha = {"Staffing_Alpha_edit", "Staffing_Alpha_label",
                                   "Staffing_Alpha_range_label"};
        const QStringList w = {"Staffing_W_edit", "Staffing_W_label", "Staffing_W_range_label"};
        QTest::newRow("Staffing target")
            << QString() << 0 << "Staffing_Target_RadioGroup" << t + alpha + w
            << QList<QStringList>{t + alpha, w, alpha};
    }
    void outputChoicesShowTheirGroups() {
        QFETCH(QString, setupGroup);
        QFETCH(int, setupItem);
        QFETCH(QString, group);
        QFETCH(QStringList, candidates);
        QFETCH(QList<QStringList>, shownPerItem);
        if (!setupGroup.isEmpty()) find<RadioGroup>(setupGroup)->item(setupItem)->click();
        auto* choice = find<RadioGroup>(group);
        QCOMPARE(choice->count(), shownPerItem.size());
        for (int pass = 0; pass < 2; ++pass) {  // the second pass comes back from the last item
            for (int item = 0; item < choice->count(); ++item) {
                choice->item(item)->click();
                for (const QString& name : candidates)
                    QVERIFY2(shown(name) == shownPerItem[item].contains(name),
                             qPrintable(QString("item %1: %2").arg(item).arg(name)));
            }
        }
    }

    void finiteCapacityCaptionFollowsCAndN() {
        find<RadioGroup>("FinCap_Queue_Type")->item(2)->click();
        auto* output = find<RadioGroup>("FinCap_Output2");
        auto* values = find<QGroupBox>("FinCap_NValues_GroupBox");
        output->item(2)->click();
        QCOMPARE(values->title(), QString("n-values"));
        QTest::keyClicks(edit("FinCap_C_edit"), "4");
        QCOMPARE(values->title(), QString("n-values"));  // N still unreadable
        QTest::keyClicks(edit("FinCap_N_edit"), "6");
        QCOMPARE(values->title(), QString("n-values (<=10)"));
        QTest::keyClicks(edit("FinCap_N_edit"), "1");
        QCOMPARE(values->title(), QString("n-values (<=65)"));
        QTest::keyClicks(edit("FinCap_C_edit"), "0");
        QCOMPARE(values->title(), QString("n-values (<=101)"));
        QCOMPARE(label("FinCap_N_range_label"), QString("<=500"));
        edit("FinCap_C_edit")->clear();
        QCOMPARE(values->title(), QString("n-values"));

        // While hidden the caption waits; shown again it catches up.
        output->item(0)->click();
        QTest::keyClicks(edit("FinCap_C_edit"), "2");
        QCOMPARE(values->title(), QString("n-values"));
        output->item(3)->click();
        QCOMPARE(values->title(), QString("n-values (<=63)"));

        // The other types show the same caption with their State Probabilities.
        find<RadioGroup>("FinCap_Queue_Type")->item(0)->click();
        find<RadioGroup>("FinCap_Output1")->item(2)->click();
        QCOMPARE(values->title(), QString("n-values (<=63)"));
    }

    void machineCaptionFollowsM() {
        auto* values = find<QGroupBox>("FinSrc_NValues_GroupBox");
        QCOMPARE(values->title(), QString("n-values"));
        QTest::keyClicks(edit("FinSrc_N_Edit"), "25");
        QCOMPARE(values->title(), QString("n-values (<=25)"));
        edit("FinSrc_N_Edit")->clear();
        QCOMPARE(values->title(), QString("n-values"));
    }

    void transientBoundFollowsRho() {
        QLineEdit* rho = edit("MM1_Rho_edit");
        const std::pair<const char*, const char*> rows[] = {
            {"0.5", "<= 53"}, {"0.99", "<= 100"}, {"1.0", ""}, {"", ""}, {"0", "<= 1"}};
        for (const auto& [typed, bound] : rows) {
            rho->clear();
            QTest::keyClicks(rho, typed);
            QCOMPARE(rho->text(), QString(typed));
            QCOMPARE(label("MM1_initial_state_range_label"), QString(bound));
        }
    }

    void clearWritesTheBanner() {
        form_->results().AddResultLine("left over");
        form_->results().SetUnderlineStyle();
        QTest::mouseClick(find<QPushButton>("ClearButton"), Qt::LeftButton);
        const QStringList lines = StyledLines(results());
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith("N:QUEUE, "));
        QVERIFY(lines[0].size() > 12);
        QCOMPARE(lines[1], QString("-:"));
        QCOMPARE(results()->toPlainText(), lines[0].mid(2) + "\n");
    }

    void resultsPanelIsAFixedPitchReadOnlyText() {
        ResultsPanel* panel = results();
        QVERIFY(panel->isReadOnly());
        QCOMPARE(panel->lineWrapMode(), QTextEdit::NoWrap);
        QCOMPARE(panel->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(panel->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(panel->font().pointSize(), 9);
        QVERIFY(QFontInfo(panel->font()).fixedPitch());
        const QFontMetrics metrics(panel->font());
        QCOMPARE(metrics.horizontalAdvance("iiiii"), metrics.horizontalAdvance("WWWWW"));
    }

    void newLinesComeIntoViewWhileTheFocusStays() {
        showAndActivate();
        QLineEdit* c = edit("MDC_C_edit");
        c->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), c);
        for (int i = 0; i < 300; ++i)
            form_->results().AddResultLine("line " + std::to_string(i));
        QScrollBar* bar = results()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QVERIFY(bar->value() > bar->maximum() - 3 * results()->fontMetrics().height());
        QCOMPARE(results()->textCursor().block().text(), QString("line 299"));
        QVERIFY(results()->viewport()->rect().contains(results()->cursorRect()));
        QCOMPARE(QApplication::focusWidget(), c);
    }

    // The error box itself is seen in refusedInputWritesNothing.
    void hostWritesTheFailureLine() {
        form_->ClearButtonClick();
        form_->results().SetUnderlineStyle();
        RunGuarded(*form_, [&] {
            form_->results().AddResultLine("         t     P{Wq>t}");
            throw NumericalFailure({"pause in RTBIS"});
        });
        const QStringList lines = StyledLines(results());
        QCOMPARE(lines.mid(2), (QStringList{"U:         t     P{Wq>t}",
                                            "N:The computation failed: pause in RTBIS.", "-:"}));
    }

    void busyShowsTheHourglassAndGivesTheCursorBack() {
        QVERIFY(!QApplication::overrideCursor());
        {
            auto guard = form_->busy();
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QVERIFY(!QApplication::overrideCursor());

        QApplication::setOverrideCursor(Qt::CrossCursor);
        { auto guard = form_->busy(); }
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
    }

    // Graphs on the M/M/c tab: one window with the waiting-time tail (e^{-0.4 t} in 35 steps of
    // 0.5 down to 0.001) above and the queue-length tail below; a second run for a load whose
    // delay is negligible writes the message and shows no window.
    void mmcGraphsOpenOneWindowWithBothSeries() {
        QTest::keyClicks(edit("MMC_C_edit"), "2");
        QTest::keyClicks(edit("MMC_Rho_edit"), "0.8");
        find<RadioGroup>("MMC_Output_RadioGroup")->item(4)->click();
        find<QPushButton>("MMC_Run_Button")->click();

        QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        GraphWindow* w = windows[0];
        QVERIFY(w->isVisible());
        QCOMPARE(w->label(0)->text(), QString("Logarithmic Graphs of the M/M/c queue"));
        QCOMPARE(w->label(1)->text(), QString("c =    2"));
        QCOMPARE(w->chart(0)->Series(1).Count(), 35);
        const int states = w->chart(1)->Series(1).Count();
        QVERIFY(states > 20 && states < 40);

        edit("MMC_C_edit")->setText("30");
        edit("MMC_Rho_edit")->setText("0.16");
        find<QPushButton>("MMC_Run_Button")->click();
        windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 2);
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](GraphWindow* g) { return g->isVisible(); }),
                 1);
        QVERIFY(results()->toPlainText().contains("Pdelay too small for graphs"));
    }

    // The M/D/c tab: Run writes the same report as the core run with the window's texts, and
    // Graphs opens one window with the waiting-time and the state curve.
    void mdcRunsItsTabAndOpensOneGraphWindowWithBothSeries() {
        QCOMPARE(label("MDC_C_range_label"), QString("<=500"));
        QTest::keyClicks(edit("MDC_C_edit"), "2");
        QTest::keyClicks(edit("MDC_Rho_edit"), "0.8");
        find<RadioGroup>("MDC_Output_RadioGroup")->item(4)->click();
        form_->ClearButtonClick();
        find<QPushButton>("MDC_Run_Button")->click();
        MdcForm form{.c = "2", .rho = "0.8", .output = 4, .t = {}, .p = {}, .n = {}};
        QCOMPARE(StyledLines(results()).mid(2), CoreLines([&](QueueHost& h) { RunMDC(form, h); }));

        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        GraphWindow* w = windows[0];
        QVERIFY(w->isVisible());
        QCOMPARE(w->label(0)->text(), QString("Logarithmic Graphs of the M/D/c queue"));
        QCOMPARE(w->label(2)->text(), QString("rho = 0.8"));
        QCOMPARE(w->chart(0)->Series(1).Count(), 41);
        QCOMPARE(w->chart(1)->Series(1).Count(), 17);
    }

    // The D/G/1 tab runs with the Output group its service shows: Pure Erlang's time-average
    // states, then, switched to a Coxian-2 service, the other group's Graphs item.
    void dg1RunsWithTheOutputGroupOfItsService() {
        find<RadioGroup>("DG1_Service_Type_RadioGroup")->item(1)->click();
        QTest::keyClicks(edit("DG1_CS2_edit"), "2");
        QTest::keyClicks(edit("DG1_Rho_edit"), "0.8");
        find<RadioGroup>("DG1_Pure_Erlang_Output_RadioGroup")->item(3)->click();
        QTest::keyClicks(edit("DG1_NEdit1"), "3");
        QTest::keyClicks(edit("DG1_NEdit2"), "0");
        form_->ClearButtonClick();
        find<QPushButton>("DG1_Run_Button")->click();
        Dg1Form pure{.serviceType = 1,
                     .cs2 = "2",
                     .rho = "0.8",
                     .output = 3,
                     .t = {},
                     .p = {},
                     .n = {"3", "0"}};
        QCOMPARE(StyledLines(results()).mid(2), CoreLines([&](QueueHost& h) { RunDG1(pure, h); }));
        QVERIFY(results()->toPlainText().contains("P{L(time)>n)"));
        QCOMPARE(edit("DG1_NEdit1")->text(), QString("0"));  // sorted by the reader

        find<RadioGroup>("DG1_Service_Type_RadioGroup")->item(3)->click();
        edit("DG1_CS2_edit")->clear();
        QTest::keyClicks(edit("DG1_CS2_edit"), "1.5");
        find<RadioGroup>("DG1_Coxian_Output_RadioGroup")->item(3)->click();
        form_->ClearButtonClick();
        find<QPushButton>("DG1_Run_Button")->click();
        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QCOMPARE(windows[0]->label(0)->text(), QString("Logarithmic Graph of the D/G/1 queue"));
        QCOMPARE(windows[0]->label(3)->text(), QString("Coxian-2 services (balanced)."));
        QVERIFY(windows[0]->chart(0)->Series(1).Count() > 0);
        QVERIFY(results()->toPlainText().contains("D/G/1 queue (Coxian-2 services, balanced)"));
    }

    void graphWindowsCloseWithTheQueueWindow() {
        const GraphHandle h = form_->createGraphWindow(GraphWindowKind::DG1, {"a", "b", "c", "d"});
        QPointer<GraphWindow> w = form_->graphWindow(h);
        QVERIFY(w);
        form_->plot(h, 5, ChartPlot{});  // no such chart: nothing shown, nothing fails
        QVERIFY(!w->isVisible());
        form_->plot(kNoGraph, 0, ChartPlot{});
        delete form_.data();
        QVERIFY(w.isNull());
    }

    void quitAsksAndClosesOnYes() {
        DialogRecorder boxes;
        QTest::mouseClick(find<QPushButton>("MMC_Quit_Button"), Qt::LeftButton);
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::Confirm);
        QCOMPARE(boxes.requests[0].text, QString("Do you want to quit from queue?"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form_);  // No keeps the window

        boxes.answer(DialogButton::Yes);
        QTest::mouseClick(find<QPushButton>("FinSrc_Quit_Button"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form_);
    }

    void closeQueueAsksInDutch() {
        DialogRecorder boxes;
        QAction* close = form_->fileMenu()->findChild<QAction*>("Close1");
        QCOMPARE(close->text(), QString("Close &Queue"));
        close->trigger();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::DutchConfirm);
        QCOMPARE(boxes.requests[0].title, QString("Bevestiging"));
        QCOMPARE(boxes.requests[0].text, QString("Wilt u Queue afsluiten?"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form_);

        boxes.answer(DialogButton::Yes);
        close->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form_);
    }

    void helpOpensTheRightTopic() {
        showAndActivate();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        const int contexts[] = {100, 110, 120, 130, 140, 150, 160, 200, 170, 180, 190};
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            auto* first = pages->currentWidget()->findChild<QLineEdit*>();
            first->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), first);
            QTest::keyClick(first, Qt::Key_F1);
            QCOMPARE(LastHelpContext(), contexts[i]);
        }
        QTest::mouseClick(find<QPushButton>("MM1_Help_Button"), Qt::LeftButton);
        QCOMPARE(LastHelpContext(), 12);
        QTest::keyClick(edit("MM1_Rho_edit"), Qt::Key_F1);
        QCOMPARE(LastHelpContext(), 180);
        QTest::keyClick(results(), Qt::Key_F1);  // outside the tabs: the queue window's topic
        QCOMPARE(LastHelpContext(), 12);
        QTest::keyClick(edit("MM1_Rho_edit"), Qt::Key_F1);
        QTest::keyClick(find<MultiRowTabBar>("PageControlTabs"), Qt::Key_F1);
        QCOMPARE(LastHelpContext(), 12);
        QAction* topics = form_->helpMenu()->findChild<QAction*>("HelpTopics1");
        QCOMPARE(topics->text(), QString("&Help content"));
        topics->trigger();
        QCOMPARE(LastHelpContext(), 12);
    }

    void enterInAFieldRunsTheTab() {
        DialogRecorder boxes;
        int clicks = 0;
        connect(find<QPushButton>("MMC_Run_Button"), &QPushButton::clicked, this,
                [&] { ++clicks; });
        QTest::keyClick(edit("MMC_C_edit"), Qt::Key_Return);
        QTest::keyClick(edit("MMC_TEdit3"), Qt::Key_Enter);
        QCOMPARE(clicks, 2);
        // Both runs met the empty c.
        QCOMPARE(boxes.requests.size(), 2);
        QCOMPARE(boxes.requests[1].text, QString("c incorrect"));
    }

    // The request of a typical session: M/M/c with c = 2, rho = 0.8 and three t-values. The tab
    // hands its texts to the model, shows the sorted t-values and Results gets exactly the lines
    // of the same run in the core, with their styles (the figures are the core tests' business).
    void mmcRunWritesItsReport() {
        QTest::keyClicks(edit("MMC_C_edit"), "2");
        QTest::keyClicks(edit("MMC_Rho_edit"), "0.8");
        find<RadioGroup>("MMC_Output_RadioGroup")->item(1)->click();
        QTest::keyClicks(edit("MMC_TEdit1"), "1");
        QTest::keyClicks(edit("MMC_TEdit2"), "0.5");
        QTest::keyClicks(edit("MMC_TEdit4"), "2");
        form_->ClearButtonClick();
        QTest::mouseClick(find<QPushButton>("MMC_Run_Button"), Qt::LeftButton);

        QCOMPARE(EditTexts(form_->MMC_TEdits)[0], std::string("0.5"));
        QCOMPARE(edit("MMC_TEdit2")->text(), QString("1"));
        QCOMPARE(edit("MMC_TEdit3")->text(), QString("2"));
        QCOMPARE(edit("MMC_TEdit4")->text(), QString());
        MmcForm form{
            .c = "2", .rho = "0.8", .output = 1, .t = {"1", "0.5", "", "2"}, .p = {}, .n = {}};
        QCOMPARE(StyledLines(results()).mid(2), CoreLines([&](QueueHost& h) { RunMMC(form, h); }));
        QCOMPARE(form_->results().style(), ResultTextStyle::Normal);
    }

    // D/M/c Graphs: the curve chosen in DMC_Graph_GroupBox, alone in a D/G/1 window with its
    // titles, with the points of the same run in the core; Results gets the run's lines.
    void dmcGraphsShowTheChosenCurve_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("xTitle");
        QTest::newRow("waiting time") << 0 << "P(Wq>t | Wq>0)"
                                      << "Time t";
        QTest::newRow("time-average states") << 1 << "P(L(time)>n | L(time)>0)"
                                             << "State n";
        QTest::newRow("customer-average states") << 2 << "P(L(cust)>n | L(cust)>0)"
                                                 << "State n";
    }
    void dmcGraphsShowTheChosenCurve() {
        QFETCH(int, item);
        QFETCH(QString, title);
        QFETCH(QString, xTitle);
        QTest::keyClicks(edit("DMC_C_edit"), "3");
        QTest::keyClicks(edit("DMC_Rho_edit"), "0.8");
        find<RadioGroup>("DMC_Output_RadioGroup")->item(5)->click();
        QVERIFY(shown("DMC_Graph_GroupBox"));
        find<RadioGroup>("DMC_Graph_GroupBox")->item(item)->click();
        form_->ClearButtonClick();
        find<QPushButton>("DMC_Run_Button")->click();

        DmcForm form{.c = "3", .rho = "0.8", .output = 5, .graph = item, .t = {}, .p = {}, .n = {}};
        testing::RecordingHost core;
        RunDMC(form, core);
        QCOMPARE(StyledLines(results()).mid(2), CoreLines([&](QueueHost& h) { RunDMC(form, h); }));

        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        GraphWindow* w = windows[0];
        QVERIFY(w->isVisible());
        QCOMPARE(w->label(0)->text(), QString("Logarithmic Graphs of the D/M/c queue"));
        QCOMPARE(w->label(1)->text(), QString("c =    3"));
        QCOMPARE(w->label(2)->text(), QString("rho = 0.8"));
        chart::TxyGraph* chart = w->chart(0);
        QCOMPARE(QString::fromStdString(chart->Appearance().GraphTitle()), title);
        QCOMPARE(QString::fromStdString(chart->XAxis().Title()), xTitle);
        const std::vector<ChartPoint>& expected = core.windows.at(0).charts.at(0).points;
        QCOMPARE(chart->Series(1).Count(), static_cast<int>(expected.size()));
        QVERIFY(expected.size() > 5);
    }

    // G/M/c: each arrival type with its CA2, a table run and a Graphs run; Results gets the
    // core's lines, the window its five labels and the core's points. The t box says what its
    // reader accepts.
    void gmcRunsEachArrivalType_data() {
        QTest::addColumn<int>("arrivals");
        QTest::addColumn<QString>("ca2");
        QTest::addColumn<QString>("service");
        QTest::newRow("deterministic") << 0 << "0"
                                       << "Deterministic arrivals";
        QTest::newRow("Erlangian") << 1 << "0.3"
                                   << "Erlangian arrivals";
        QTest::newRow("Coxian-2, gamma") << 2 << "2"
                                         << "Coxian-2 arrivals, gamma";
        QTest::newRow("Coxian-2, balanced") << 3 << "0.7"
                                            << "Coxian-2 arrivals, balanced";
    }
    void gmcRunsEachArrivalType() {
        QFETCH(int, arrivals);
        QFETCH(QString, ca2);
        QFETCH(QString, service);
        QCOMPARE(find<QGroupBox>("GMC_TValues_GroupBox")->title(), QString("t-values (<= 2500)"));
        find<RadioGroup>("GMC_Arrivals_RadioGroup")->item(arrivals)->click();
        if (arrivals != 0) QTest::keyClicks(edit("GMC_CA2_Edit"), ca2);
        QTest::keyClicks(edit("GMC_C_edit"), "3");
        QTest::keyClicks(edit("GMC_Rho_edit"), "0.8");
        find<RadioGroup>("GMC_Output_RadioGroup")->item(1)->click();
        QTest::keyClicks(edit("GMC_TEdit1"), "1");
        QTest::keyClicks(edit("GMC_TEdit3"), "0.5");
        form_->ClearButtonClick();
        find<QPushButton>("GMC_Run_Button")->click();
        QCOMPARE(edit("GMC_TEdit1")->text(), QString("0.5"));  // sorted by the reader
        GmcForm table{.arrivals = arrivals,
                      .ca2 = ca2.toStdString(),
                      .c = "3",
                      .rho = "0.8",
                      .output = 1,
                      .t = {"1", "", "0.5"},
                      .p = {}};
        QCOMPARE(StyledLines(results()).mid(2), CoreLines([&](QueueHost& h) { RunGMC(table, h); }));

        find<RadioGroup>("GMC_Output_RadioGroup")->item(3)->click();
        form_->ClearButtonClick();
        find<QPushButton>("GMC_Run_Button")->click();
        GmcForm graph = table;
        graph.output = 3;
        testing::RecordingHost core;
        RunGMC(graph, core);
        QCOMPARE(StyledLines(results()).mid(2), CoreLines([&](QueueHost& h) { RunGMC(graph, h); }));
        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        GraphWindow* w = windows[0];
        QVERIFY(w->isVisible());
        const QString labels[] = {"Logarithmic Graph of the G/M/c queue",
                                  arrivals == 0 ? "CA2 = 0" : "CA2 = " + ca2, "c = 3", "rho = 0.8",
                                  service};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(w->label(i)->text(), labels[i]);
        chart::TxyGraph* chart = w->chart(0);
        QCOMPARE(QString::fromStdString(chart->Appearance().GraphTitle()),
                 QString("P(Wq>t | Wq>0)"));
        const std::vector<ChartPoint>& expected = core.windows.at(0).charts.at(0).points;
        QCOMPARE(chart->Series(1).Count(), static_cast<int>(expected.size()));
        QVERIFY(expected.size() > 12);
    }

    void refusedInputWritesNothing() {
        DialogRecorder boxes;
        QTest::keyClicks(edit("MMC_C_edit"), "2501");
        QTest::keyClicks(edit("MMC_Rho_edit"), "0.5");
        const QString before = results()->toPlainText();
        find<QPushButton>("MMC_Run_Button")->click();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::ErrorOkCancel);
        QCOMPARE(boxes.requests[0].title, QString("Error"));
        QCOMPARE(boxes.requests[0].text, QString("c out of range"));
        QCOMPARE(results()->toPlainText(), before);
    }

    // Staffing: the tab's texts go to the core run unchanged, G/M/c's CA2 field behaves as on
    // the G/M/c tab, a refusal is one box, and the graph shows the target measure against c.
    void staffingRunsTheCoreAndDrawsItsGraph() {
        DialogRecorder boxes;
        auto* pages = find<MultiRowTabWidget>("PageControl");
        QCOMPARE(pages->tabBar()->tabText(pages->count() - 1), QString("Staffing"));
        QCOMPARE(label("Staffing_Load_range_label"), QString("<= 2497.5"));
        find<RadioGroup>("Staffing_Model_RadioGroup")->item(3)->click();
        QLineEdit* ca2 = edit("Staffing_CA2_Edit");
        QCOMPARE(ca2->text(), QString("0"));
        QVERIFY(!ca2->isEnabled());
        find<RadioGroup>("Staffing_Arrivals_RadioGroup")->item(3)->click();
        QVERIFY(ca2->isEnabled());
        QCOMPARE(label("Staffing_CA2_range_label"), QString("0.5 <= CA2 <= 100"));
        QTest::keyClicks(ca2, "2x");  // the real filter drops the letter
        QTest::keyClicks(edit("Staffing_Load_edit"), "40");
        QTest::keyClicks(edit("Staffing_T_edit"), "0.1");
        QTest::keyClicks(edit("Staffing_Alpha_edit"), "0.1");
        QTest::keyClicks(edit("Staffing_W_edit"), "0.5");  // hidden: the P{Wq>t} target reads t
        form_->ClearButtonClick();
        find<QPushButton>("Staffing_Run_Button")->click();
        QCOMPARE(boxes.requests.size(), 0);
        StaffingForm form{.model = 3,
                          .arrivals = 3,
                          .ca2 = "2",
                          .a = "40",
                          .target = 0,
                          .t = "0.1",
                          .alpha = "0.1",
                          .w = "0.5",
                          .maxRho = "",
                          .graph = false};
        const QStringList lines = StyledLines(results()).mid(2);
        QCOMPARE(lines, CoreLines([&](QueueHost& h) { RunStaffing(form, h); }));
        QVERIFY(lines[2].startsWith("N:Smallest number of servers: c = "));
        QVERIFY(form_->findChildren<GraphWindow*>().isEmpty());

        find<RadioGroup>("Staffing_Model_RadioGroup")->item(0)->click();
        find<RadioGroup>("Staffing_Target_RadioGroup")->item(1)->click();
        find<QCheckBox>("Staffing_Graph_CheckBox")->setChecked(true);
        form_->ClearButtonClick();
        find<QPushButton>("Staffing_Run_Button")->click();
        form.model = 0;
        form.target = 1;
        form.graph = true;
        testing::RecordingHost core;
        RunStaffing(form, core);
        QCOMPARE(StyledLines(results()).mid(2),
                 CoreLines([&](QueueHost& h) { RunStaffing(form, h); }));
        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QCOMPARE(windows[0]->label(0)->text(), QString("Staffing of the M/M/c queue"));
        QCOMPARE(windows[0]->label(3)->text(), QString("E(Wq)<=0.5"));
        chart::TxyGraph* chart = windows[0]->chart(0);
        const auto& plots = core.windows.at(0).plots;
        QCOMPARE(plots.size(), std::size_t{2});
        QCOMPARE(chart->Series(1).Count(), static_cast<int>(plots[0].second.points.size()));
        QVERIFY(plots[0].second.points.size() >= 4);
        QCOMPARE(chart->Series(2).Count(), 2);

        edit("Staffing_W_edit")->setText("1001");
        const QString before = results()->toPlainText();
        find<QPushButton>("Staffing_Run_Button")->click();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::ErrorOkCancel);
        QCOMPARE(boxes.requests[0].text, QString("w out of range"));
        QCOMPARE(results()->toPlainText(), before);
    }

    // Transient M/M/1: the box of this tab is titled "ERROR"; a table run hands the tab's texts
    // to the model, shows the sorted t-values, and Results gets the lines of the same core run.
    void mm1TableAndItsBox() {
        DialogRecorder boxes;
        QTest::keyClicks(edit("MM1_Rho_edit"), "0");
        QCOMPARE(label("MM1_initial_state_range_label"), QString("<= 1"));
        QTest::keyClicks(edit("MM1_initial_state_edit"), "2");
        QTest::keyClicks(edit("MM1_end_state_edit"), "0");
        QTest::keyClicks(edit("MM1_TEdit1"), "1");
        QTest::keyClicks(edit("MM1_TEdit2"), "0.5");
        form_->ClearButtonClick();
        find<QPushButton>("MM1_Run_Button")->click();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::ErrorOkCancel);
        QCOMPARE(boxes.requests[0].title, QString("ERROR"));
        QCOMPARE(boxes.requests[0].text, QString("i out of bounds"));
        QCOMPARE(StyledLines(results()).size(), 2);

        edit("MM1_initial_state_edit")->setText("1");
        find<QPushButton>("MM1_Run_Button")->click();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(edit("MM1_TEdit1")->text(), QString("0.5"));
        QCOMPARE(edit("MM1_TEdit2")->text(), QString("1"));
        MM1TranForm form{.rho = "0", .i = "1", .j = "0", .T = "", .output = 0, .t = {"1", "0.5"}};
        const QStringList lines = StyledLines(results()).mid(2);
        QCOMPARE(lines, CoreLines([&](QueueHost& h) { RunMM1Tran(form, h); }));
        QCOMPARE(lines.size(), 8);  // title, parameters, two empty lines, header, two rows, end
    }

    // Each graph kind opens its own G/M/c-class window and draws a blue line of 201 points.
    void mm1GraphsOfEachKindAreDrawn() {
        QTest::keyClicks(edit("MM1_Rho_edit"), "0.8");
        QTest::keyClicks(edit("MM1_initial_state_edit"), "4");
        QTest::keyClicks(edit("MM1_end_state_edit"), "2");
        const char* const titles[] = {"p{i,j,t}", "P{i,j,t} (cumulative)", "ELq(i,t)",
                                      "Std Lq(i,t)"};
        for (int item = 1; item <= 4; ++item) {
            find<RadioGroup>("MM1_Output_radio_group")->item(item)->click();
            QVERIFY(shown("MM1_t_edit"));
            edit("MM1_t_edit")->setText("50");
            find<QPushButton>("MM1_Run_Button")->click();
            const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
            QCOMPARE(windows.size(), item);
            GraphWindow* w = windows.back();
            QVERIFY(w->isVisible());
            QVERIFY(qobject_cast<TGMC_Graph1*>(w));
            QCOMPARE(w->label(0)->text(), QString("Transient M/M/1 queue"));
            QCOMPARE(w->label(1)->text(), QString("rho = 0.8"));
            QCOMPARE(w->label(2)->text(), QString(item <= 2 ? "i=4 j=2" : "i=4"));
            QCOMPARE(w->label(3)->text(), QString("t <= 50"));
            chart::TxyGraph& g = *w->chart(0);
            QCOMPARE(g.Appearance().GraphTitle(), std::string(titles[item - 1]));
            QVERIFY(!g.YAxis().LogScale && g.YAxis().AutoSizing && g.YAxis().AutoStepping);
            QCOMPARE(g.Series(1).Count(), 201);
            const QImage image = w->chart(0)->grab().toImage();
            int blue = 0;  // the line is antialiased: count the clearly blue pixels
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    blue += c.blue() > 150 && c.red() < 120 && c.green() < 120;
                }
            }
            QVERIFY2(blue > 100, qPrintable(QString("%1 blue pixels").arg(blue)));
        }
        QCOMPARE(StyledLines(results()).size(), 2);  // graphs write nothing
    }

    void mg1RunWritesItsReport() {
        QTest::keyClicks(edit("MG1_CS2_edit"), "0.5");
        QTest::keyClicks(edit("MG1_Rho_edit"), "0.8");
        form_->ClearButtonClick();
        find<QPushButton>("MG1_Run_Button")->click();
        Mg1Form form{
            .serviceType = 0, .cs2 = "0.5", .rho = "0.8", .output = 0, .t = {}, .p = {}, .n = {}};
        QCOMPARE(StyledLines(results()).mid(2), CoreLines([&](QueueHost& h) { RunMG1(form, h); }));
    }

    // Each queue type of the Finite Capacity tab: its range labels and Output group, the values
    // written back sorted, and Results gets exactly the lines of the same run in the core.
    void finiteCapacityRunsEachType() {
        const struct {
            int type;
            const char *cRange, *nRange, *output;
            int item;
            const char* valueStem;
            TEditArray typed, sorted;
        } rows[] = {
            {0,
             "<=2500",
             "<=1000",
             "FinCap_Output1",
             1,
             "FinCap_TEdit",
             {"2", "0.5"},
             {"0.5", "2"}},
            {1, "<=500", "<=1000", "FinCap_Output1", 2, "FinCap_NEdit", {"4", "0"}, {"0", "4"}},
            {2, "<=500", "<=500", "FinCap_Output2", 3, "FinCap_NEdit", {"5", "1"}, {"1", "5"}},
        };
        QTest::keyClicks(edit("FinCap_C_edit"), "2");
        QTest::keyClicks(edit("FinCap_Rho_edit"), "0.8");
        QTest::keyClicks(edit("FinCap_N_edit"), "3");
        for (const auto& row : rows) {
            find<RadioGroup>("FinCap_Queue_Type")->item(row.type)->click();
            QCOMPARE(label("FinCap_C_range_label"), QString(row.cRange));
            QCOMPARE(label("FinCap_N_range_label"), QString(row.nRange));
            find<RadioGroup>(row.output)->item(row.item)->click();
            for (int i = 0; i < 12; ++i)
                edit(row.valueStem + QString::number(i + 1))->clear();
            QTest::keyClicks(edit(row.valueStem + QString("1")), row.typed[0].c_str());
            QTest::keyClicks(edit(row.valueStem + QString("2")), row.typed[1].c_str());
            form_->ClearButtonClick();
            find<QPushButton>("FinCap_Run_Button")->click();

            const bool t = row.valueStem == std::string("FinCap_TEdit");
            FinCapForm form{.type = row.type,
                            .c = "2",
                            .rho = "0.8",
                            .N = "3",
                            .output = row.item,
                            .t = t ? row.typed : TEditArray{},
                            .n = t ? TEditArray{} : row.typed};
            QCOMPARE(StyledLines(results()).mid(2),
                     CoreLines([&](QueueHost& h) { RunFinCap(form, h); }));
            QCOMPARE(EditTexts(t ? form_->FinCap_TEdits : form_->FinCap_NEdits), row.sorted);
        }
    }

    void finiteCapacityGraphsOpenOneWindowWithBothCurves() {
        find<RadioGroup>("FinCap_Queue_Type")->item(2)->click();
        QTest::keyClicks(edit("FinCap_C_edit"), "3");
        QTest::keyClicks(edit("FinCap_Rho_edit"), "0.9");
        QTest::keyClicks(edit("FinCap_N_edit"), "10");
        find<RadioGroup>("FinCap_Output2")->item(4)->click();
        find<QPushButton>("FinCap_Run_Button")->click();
        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QCOMPARE(windows[0]->label(0)->text(),
                 QString("Logarithmic Graphs of the D/M/c/c+N queue"));
        QCOMPARE(windows[0]->label(3)->text(), QString("n = 10"));
        QVERIFY(windows[0]->chart(0)->Series(1).Count() > 24);
        QCOMPARE(windows[0]->chart(1)->Series(1).Count(), 13);
    }

    // The M/M/c/c+N graphs: the fields of the chosen X-axis mode are read, one window shows the
    // curve of the core's points, and nothing reaches Results.
    void mmcnGraphsDrawTheCurveOfTheChosenMode() {
        QTest::keyClicks(edit("MMCN_Arrival_edit"), "3");
        QTest::keyClicks(edit("MMCN_ES_edit"), "2");
        find<RadioGroup>("MMCN_type_radio_group")->item(1)->click();
        QVERIFY(shown("MMCN_input_vary_N"));
        QVERIFY(!shown("MMCN_Input_vary_c"));
        QTest::keyClicks(edit("MMCN_c_edit"), "2");
        QTest::keyClicks(edit("MMCN_N_from_edit"), "0");
        QTest::keyClicks(edit("MMCN_N_to_edit"), "40");
        find<RadioGroup>("MMCN_Graph_radio_group")->item(1)->click();
        QVERIFY(shown("MMCN_t_edit"));
        QTest::keyClicks(edit("MMCN_t_edit"), "0.5");
        const QString before = results()->toPlainText();
        find<QPushButton>("MMCN_Run_Button")->click();

        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        GraphWindow* w = windows[0];
        QVERIFY(w->isVisible());
        QCOMPARE(w->label(0)->text(), QString("Graph of the M/M/c/c+N queue"));
        QCOMPARE(w->label(1)->text(), QString("lambda = 3"));
        QCOMPARE(w->label(2)->text(), QString("ES = 2"));
        QCOMPARE(w->label(3)->text(), QString("c = 2"));
        const chart::TxyGraph& g = *w->chart(0);
        QCOMPARE(g.Appearance().GraphTitle(), std::string("P{Wq>0.5}"));
        QCOMPARE(g.XAxis().Title(), std::string("Capacity N"));
        QVERIFY(!g.YAxis().LogScale && !g.YAxis().AutoSizing);
        QCOMPARE(g.YAxis().Min(), 0.0);
        QCOMPARE(g.YAxis().Max(), 1.0);
        MmcnCurve curve;
        curve.lambda = 3;
        curve.ES = 2;
        curve.vary = MmcnVary::Capacity;
        curve.fixed = 2;
        curve.from = 0;
        curve.to = 40;
        curve.y = MmcnY::Waiting;
        curve.t = 0.5;
        const std::vector<ChartPoint> expected = MmcnPoints(curve);
        const auto& drawn = w->chart(0)->Series(1).Points();
        QCOMPARE(drawn.size(), expected.size());
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            QCOMPARE(drawn[i].X, expected[i].x);
            QCOMPARE(drawn[i].Y, expected[i].y);
        }
        QCOMPARE(results()->toPlainText(), before);

        DialogRecorder boxes;
        edit("MMCN_N_to_edit")->setText("101");
        find<QPushButton>("MMCN_Run_Button")->click();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].text, QString("Upper bound on N out of range"));
        QCOMPARE(form_->findChildren<GraphWindow*>().size(), 1);
    }

    // The Finite Source tab: the service sets the range of c, Results gets exactly the lines of
    // the same run in the core with the n-values written back sorted and marked, and the chosen
    // graph opens in its own window.
    void finiteSourceRunsTablesAndGraphs() {
        find<RadioGroup>("FinSrc_service_radio_group")->item(1)->click();
        QCOMPARE(label("FinSrc_c_range_label"), QString("<= 250"));
        find<RadioGroup>("FinSrc_service_radio_group")->item(0)->click();
        QCOMPARE(label("FinSrc_c_range_label"), QString("<= 500"));
        find<RadioGroup>("FinSrc_service_radio_group")->item(1)->click();
        QTest::keyClicks(edit("FinSrc_c_Edit"), "2");
        QTest::keyClicks(edit("FinSrc_N_Edit"), "10");
        QTest::keyClicks(edit("FinSrc_nu_edit"), "0.15");
        find<RadioGroup>("FinSrc_Output_radio_group")->item(2)->click();
        QTest::keyClicks(edit("FinSrc_NEdit1"), "11");
        QTest::keyClicks(edit("FinSrc_NEdit2"), "3");
        form_->ClearButtonClick();
        find<QPushButton>("FinSrc_Run_Button")->click();
        FinSrcForm form{.service = 1,
                        .c = "2",
                        .M = "10",
                        .nu = "0.15",
                        .output = 2,
                        .graph = 0,
                        .t = {},
                        .n = {"11", "3"}};
        QCOMPARE(StyledLines(results()).mid(2),
                 CoreLines([&](QueueHost& h) { RunFinSrc(form, h); }));
        QCOMPARE(EditTexts(form_->FinSrc_NEdits), form.n);
        QCOMPARE(edit("FinSrc_NEdit2")->text(), QString("11**"));

        find<RadioGroup>("FinSrc_Output_radio_group")->item(4)->click();
        find<RadioGroup>("FinSrc_Graph_Radio_Group")->item(1)->click();
        find<QPushButton>("FinSrc_Run_Button")->click();
        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QCOMPARE(windows[0]->label(0)->text(),
                 QString("Logarithmic graph of the machine repair queue"));
        QCOMPARE(windows[0]->label(4)->text(), QString("Deterministic services"));
        QCOMPARE(windows[0]->chart(0)->Appearance().GraphTitle(),
                 std::string("P{ L(time) > n | L(time) > 0}"));
        QCOMPARE(windows[0]->chart(0)->Series(1).Points().front().Y, 1.0);
    }

    // Without a printer, Print offers a PDF file; No leaves it at that.
    void printWithoutPrinterOffersAPdfFile() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a printer; printing is not tried in a test");
        QTemporaryDir dir;
        DialogRecorder boxes;
        QTest::mouseClick(find<QPushButton>("PrintButton"), Qt::LeftButton);
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::Confirm);
        QVERIFY(boxes.requests[0].text.contains("printer"));
        QVERIFY(boxes.fileRequests.isEmpty());

        boxes.answer(DialogButton::Yes);
        boxes.fileName = dir.filePath("results.pdf");
        form_->fileMenu()->findChild<QAction*>("PrintResults1")->trigger();
        QCOMPARE(boxes.fileRequests.size(), 1);
        QVERIFY(boxes.fileRequests[0].save);
        QVERIFY(IsPdf(boxes.fileName));
    }

    // Save writes what Results shows in the format of the file's type: the plain text, HTML
    // that keeps the line styles, or a PDF.
    void saveWritesTextHtmlOrPdf() {
        QTest::keyClicks(edit("MMC_C_edit"), "2");
        QTest::keyClicks(edit("MMC_Rho_edit"), "0.8");
        QTest::mouseClick(find<QPushButton>("MMC_Run_Button"), Qt::LeftButton);
        QTemporaryDir dir;
        DialogRecorder boxes;

        boxes.fileName = dir.filePath("results.txt");
        QTest::mouseClick(find<QPushButton>("SaveButton"), Qt::LeftButton);
        QCOMPARE(boxes.fileRequests.size(), 1);
        QVERIFY(boxes.fileRequests[0].save);
        QCOMPARE(boxes.fileRequests[0].defaultSuffix, QString("txt"));
        QCOMPARE(QString::fromUtf8(ReadAll(boxes.fileName)), results()->toPlainText() + "\n");

        boxes.fileName = dir.filePath("results.html");
        form_->fileMenu()->findChild<QAction*>("SaveResults1")->trigger();
        const QString html = QString::fromUtf8(ReadAll(boxes.fileName));
        // The title line in blue italics, underlined; the parameter line bold.
        const QRegularExpression title(
            "<span style=\"[^\"]*font-style:italic;[^\"]*text-decoration: underline;[^\"]*"
            "color:#0000ff;[^\"]*\">M/M/c queue</span>");
        QVERIFY2(title.match(html).hasMatch(), qPrintable(html.left(3000)));
        QVERIFY(QRegularExpression("font-weight:(700|600|bold);[^\"]*\">Parameters: c=2")
                    .match(html)
                    .hasMatch());

        boxes.fileName = dir.filePath("results.PDF");
        QTest::mouseClick(find<QPushButton>("SaveButton"), Qt::LeftButton);
        QVERIFY(IsPdf(boxes.fileName));
        QVERIFY(boxes.requests.isEmpty());

        // A file that cannot be written is told, and nothing is left behind.
        boxes.fileName = dir.filePath("missing/results.txt");
        QTest::mouseClick(find<QPushButton>("SaveButton"), Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{"Cannot write file " + boxes.fileName});
        QVERIFY(!QFile::exists(boxes.fileName));
    }

    void previewShowsTheResults() {
        showAndActivate();
        form_->fileMenu()->findChild<QAction*>("PrintPreview1")->trigger();
        auto* preview = form_->findChild<QPrintPreviewDialog*>("PrintPreview");
        QVERIFY(preview);
        QTRY_VERIFY(preview->isVisible());
        preview->close();
        QTRY_VERIFY(!form_->findChild<QPrintPreviewDialog*>("PrintPreview"));
    }

    void focusedFieldTurnsYellow() {
        showAndActivate();
        QLineEdit* c = edit("MDC_C_edit");
        QLineEdit* rho = edit("MDC_Rho_edit");
        const QColor plain = rho->palette().color(QPalette::Base);
        QVERIFY(plain != QColor(Qt::yellow));
        c->setFocus();
        QTRY_COMPARE(c->palette().color(QPalette::Base), QColor(Qt::yellow));
        rho->setFocus();
        QTRY_COMPARE(rho->palette().color(QPalette::Base), QColor(Qt::yellow));
        QCOMPARE(c->palette().color(QPalette::Base), plain);
    }

    // Every tab in every combination of its choices: nothing clipped, nothing overlapping, and
    // the tab order running down the page.
    void everyTabIsLaidOutCleanly() {
        showAndActivate();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        QCOMPARE(pages->width(), 300);
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            auto* scroll = qobject_cast<QScrollArea*>(pages->currentWidget());
            QVERIFY(scroll);
            QWidget* page = scroll->widget();
            QStringList problems;
            int states = 0;
            ExerciseChoices(scroll, page->findChildren<RadioGroup*>(), 0, page->objectName(),
                            problems, states);
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join("\n")));
            QVERIFY(states >= 2);
        }
    }

    // The wider Pure Erlang caption "1/CS2:" does not push the edits aside.
    void dg1EditsStayPutWhateverTheService() {
        showAndActivate();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        pages->setCurrentIndex(1);
        QApplication::processEvents();
        auto* service = find<RadioGroup>("DG1_Service_Type_RadioGroup");
        const QRect cs2 = edit("DG1_CS2_edit")->geometry();
        const QRect rho = edit("DG1_Rho_edit")->geometry();
        for (int item : {1, 2, 0, 1, 3}) {
            service->item(item)->click();
            QApplication::processEvents();
            QCOMPARE(label("DG1_CS2_label"), QString(item == 1 ? "1/CS2:" : "CS2:"));
            QCOMPARE(edit("DG1_CS2_edit")->geometry(), cs2);
            QCOMPARE(edit("DG1_Rho_edit")->geometry(), rho);
            auto* caption = find<QLabel>("DG1_CS2_label");
            QVERIFY(caption->width() >= caption->sizeHint().width());
        }
    }

    // Every Help button shows the one help picture.
    void helpButtonsShareTheHelpPicture() {
        const QImage help = HelpIcon().pixmap(16, 16).toImage();
        QVERIFY(!help.isNull());
        int buttons = 0;
        for (QPushButton* button : form_->findChildren<QPushButton*>()) {
            if (!button->objectName().endsWith("_Help_Button")) continue;
            ++buttons;
            QCOMPARE(button->icon().pixmap(16, 16).toImage(), help);
        }
        QCOMPARE(buttons, find<MultiRowTabWidget>("PageControl")->count());  // one per tab
    }

    // After a refusal box the refused field has the cursor, its text selected for retyping.
    void refusedFieldGetsTheCursor_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("choice");      // a radio item to click first, or empty
        QTest::addColumn<QStringList>("fields");  // name=text pairs
        QTest::addColumn<QString>("run");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("refused");
        QTest::newRow("M/M/c c") << 2 << "" << QStringList{"MMC_C_edit=0", "MMC_Rho_edit=0.5"}
                                 << "MMC_Run_Button"
                                 << "c out of range"
                                 << "MMC_C_edit";
        QTest::newRow("M/D/c rho")
            << 3 << "" << QStringList{"MDC_C_edit=2", "MDC_Rho_edit=1.5"} << "MDC_Run_Button"
            << "Rho out of range"
            << "MDC_Rho_edit";
        QTest::newRow("D/G/1 cs2")
            << 1 << "" << QStringList{"DG1_CS2_edit=7", "DG1_Rho_edit=0.5"} << "DG1_Run_Button"
            << "CS2 out of bounds"
            << "DG1_CS2_edit";
        QTest::newRow("G/M/c CA2")
            << 5 << "GMC_Arrivals_RadioGroup_Item1"
            << QStringList{"GMC_CA2_Edit=7", "GMC_C_edit=2", "GMC_Rho_edit=0.5"} << "GMC_Run_Button"
            << "CA2 out of range"
            << "GMC_CA2_Edit";
        QTest::newRow("D/M/c/c+N N")
            << 6 << "FinCap_Queue_Type_Item2"
            << QStringList{"FinCap_C_edit=2", "FinCap_Rho_edit=0.5", "FinCap_N_edit=600"}
            << "FinCap_Run_Button"
            << "0 <= N <= 500 required"
            << "FinCap_N_edit";
        QTest::newRow("M/M/c/c+N bounds")
            << 7 << ""
            << QStringList{"MMCN_Arrival_edit=1", "MMCN_ES_edit=1", "MMCN_cap_edit=5",
                           "MMCN_c_from_edit=5", "MMCN_c_to_edit=2"}
            << "MMCN_Run_Button"
            << "Upper bound should be greater than lower bound"
            << "MMCN_c_to_edit";
        QTest::newRow("Finite Source M")
            << 8 << "" << QStringList{"FinSrc_c_Edit=2", "FinSrc_N_Edit=5000", "FinSrc_nu_edit=0.1"}
            << "FinSrc_Run_Button"
            << "M out of range"
            << "FinSrc_N_Edit";
        QTest::newRow("Transient M/M/1 i")
            << 9 << "" << QStringList{"MM1_Rho_edit=0.5", "MM1_initial_state_edit=99"}
            << "MM1_Run_Button"
            << "i out of bounds"
            << "MM1_initial_state_edit";
        QTest::newRow("Staffing a")
            << 10 << "" << QStringList{"Staffing_Load_edit=x"} << "Staffing_Run_Button"
            << "a incorrect"
            << "Staffing_Load_edit";
    }
    void refusedFieldGetsTheCursor() {
        QFETCH(int, tab);
        QFETCH(QString, choice);
        QFETCH(QStringList, fields);
        QFETCH(QString, run);
        QFETCH(QString, message);
        QFETCH(QString, refused);
        showAndActivate();
        find<MultiRowTabWidget>("PageControl")->setCurrentIndex(tab);
        if (!choice.isEmpty()) find<QRadioButton>(choice)->click();
        for (const QString& field : fields) {
            const QStringList pair = field.split('=');
            edit(pair[0])->setText(pair[1]);
        }
        DialogRecorder boxes;
        QPushButton* button = find<QPushButton>(run);
        button->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.requests[0].text, message);  // the box text as it was
        QTRY_COMPARE(QApplication::focusWidget(), edit(refused));
        QCOMPARE(edit(refused)->selectedText(), edit(refused)->text());
        QVERIFY(!edit(refused)->text().isEmpty());
    }

    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp change tabs from anywhere in the
    // window, wrapping round; arrows, Home and End move along the tab bar when it has focus.
    void keyboardChangesTabs() {
        showAndActivate();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        QCOMPARE(pages->currentIndex(), 3);
        results()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(results()));
        QTest::keyClick(results(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 4);
        QTest::keyClick(results(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 5);
        QTest::keyClick(results(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages->currentIndex(), 4);
        QTest::keyClick(results(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 3);

        QLineEdit* c = edit("MDC_C_edit");
        c->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), c);
        for (int k = 0; k < 4; ++k)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        const int last = pages->count() - 1;
        QCOMPARE(pages->currentIndex(), last);  // round past the first tab
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 0);

        auto* bar = find<MultiRowTabBar>("PageControlTabs");
        bar->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(bar));
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(pages->currentIndex(), 1);
        QTest::keyClick(bar, Qt::Key_End);
        QCOMPARE(pages->currentIndex(), last);
        QTest::keyClick(bar, Qt::Key_Up);
        QCOMPARE(pages->currentIndex(), last - 1);
        QTest::keyClick(bar, Qt::Key_Home);
        QCOMPARE(pages->currentIndex(), 0);
    }

    // Graph windows open over the Results side and cascade there, leaving the edits in view.
    void graphWindowsOpenBesideTheInputs() {
        form_->move(0, 0);
        showAndActivate();
        QTest::keyClicks(edit("MMC_C_edit"), "2");
        QTest::keyClicks(edit("MMC_Rho_edit"), "0.8");
        find<RadioGroup>("MMC_Output_RadioGroup")->item(4)->click();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        const QRect inputs(pages->mapToGlobal(QPoint(0, 0)), pages->size());
        const QPoint resultsAt = results()->mapToGlobal(QPoint(0, 0));
        QList<QPoint> opened;
        for (int run = 0; run < 3; ++run) {
            find<QPushButton>("MMC_Run_Button")->click();
            const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
            QCOMPARE(windows.size(), run + 1);
            GraphWindow* w = windows.last();
            QVERIFY(w->isVisible());
            QVERIFY2(!w->frameGeometry().intersects(inputs),
                     qPrintable(QString("window %1 at %2,%3").arg(run).arg(w->x()).arg(w->y())));
            QVERIFY(w->x() >= resultsAt.x() && w->y() >= resultsAt.y());
            opened << w->pos();
        }
        // 20 pixels on each time, unless the cascade wrapped round within the Results side.
        for (int k = 1; k < opened.size(); ++k) {
            const QPoint step = opened[k] - opened[k - 1];
            QVERIFY(step == QPoint(20, 20) || step.x() < 0 || step.y() < 0);
        }
    }

private:
    template <class T>
    T* find(const QString& name) const {
        T* widget = form_->findChild<T*>(name);
        if (!widget) qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    QLineEdit* edit(const QString& name) const { return find<QLineEdit>(name); }
    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A whole PDF file: its header, and its end-of-file mark after the cross references.
    static bool IsPdf(const QString& path) {
        const QByteArray bytes = ReadAll(path);
        return bytes.startsWith("%PDF-1.") && bytes.trimmed().endsWith("%%EOF") &&
               bytes.contains("startxref") && bytes.size() > 500;
    }
    QString label(const QString& name) const { return find<QLabel>(name)->text(); }
    bool shown(const QString& name) const { return !find<QWidget>(name)->isHidden(); }
    ResultsPanel* results() const { return find<ResultsPanel>("Results"); }

    void showAndActivate() {
        form_->show();
        QApplication::setActiveWindow(form_);
        QVERIFY(QTest::qWaitForWindowActive(form_));
    }

    // Tries every item of every visible group, the later groups under each choice of the
    // earlier ones, and checks the layout in each state.
    static void ExerciseChoices(QScrollArea* scroll, const QList<RadioGroup*>& groups, int k,
                                const QString& where, QStringList& problems, int& states) {
        QWidget* page = scroll->widget();
        if (k == groups.size()) {
            ++states;
            QApplication::processEvents();
            if (page->width() > scroll->viewport()->width()) problems << where + ": too wide";
            for (const QString& problem : LayoutProblems(page))
                problems << where + ": " + problem;
            for (const QString& problem : TabOrderProblems(page))
                problems << where + ": tab order " + problem;
            return;
        }
        RadioGroup* group = groups[k];
        if (group->isHidden()) {
            ExerciseChoices(scroll, groups, k + 1, where, problems, states);
            return;
        }
        const int kept = group->itemIndex();
        for (int item = 0; item < group->count(); ++item) {
            group->item(item)->click();
            ExerciseChoices(scroll, groups, k + 1,
                            QString("%1 %2=%3").arg(where, group->objectName()).arg(item), problems,
                            states);
        }
        group->item(kept)->click();
    }

    // Visible controls whose text does not fit or that overlap a visible sibling.
    static QStringList LayoutProblems(QWidget* page) {
        QStringList problems;
        const QList<QWidget*> widgets = page->findChildren<QWidget*>();
        for (QWidget* w : widgets) {
            if (!w->isVisibleTo(page)) continue;
            if (auto* l = qobject_cast<QLabel*>(w);
                l && !l->wordWrap() && l->width() < l->sizeHint().width())
                problems << "clipped " + w->objectName();
            if (auto* b = qobject_cast<QPushButton*>(w); b && b->width() < b->sizeHint().width())
                problems << "clipped " + w->objectName();
            if (auto* r = qobject_cast<QRadioButton*>(w);
                r && r->height() < r->heightForWidth(r->width()))
                problems << "clipped " + w->objectName();
            if (auto* g = qobject_cast<QGroupBox*>(w);
                g && g->width() < g->fontMetrics().horizontalAdvance(g->title()))
                problems << "clipped title of " + w->objectName();
            if (w->geometry().right() >= w->parentWidget()->width())
                problems << "beyond the edge " + w->objectName();
        }
        for (int i = 0; i < widgets.size(); ++i) {
            for (int j = i + 1; j < widgets.size(); ++j) {
                QWidget* a = widgets[i];
                QWidget* b = widgets[j];
                if (a->parentWidget() != b->parentWidget() || !a->isVisibleTo(page) ||
                    !b->isVisibleTo(page))
                    continue;
                if (a->geometry().intersects(b->geometry()))
                    problems << a->objectName() + " overlaps " + b->objectName();
            }
        }
        return problems;
    }

    // The focus chain of a page visits its visible controls top to bottom, and left to right
    // within a line.
    static QStringList TabOrderProblems(QWidget* page) {
        QStringList problems;
        QList<QWidget*> chain;
        QWidget* w = page->nextInFocusChain();
        while (w != page && chain.size() < 500) {
            if (page->isAncestorOf(w) && w->isVisibleTo(page) && w->isEnabled() &&
                (w->focusPolicy() & Qt::TabFocus))
                chain << w;
            w = w->nextInFocusChain();
        }
        for (int i = 1; i < chain.size(); ++i) {
            const QRect a(chain[i - 1]->mapTo(page, QPoint()), chain[i - 1]->size());
            const QRect b(chain[i]->mapTo(page, QPoint()), chain[i]->size());
            const bool sameLine = std::abs(a.center().y() - b.center().y()) < a.height() / 2;
            const bool onward = sameLine ? b.left() > a.left() : b.top() > a.top();
            if (!onward) problems << chain[i - 1]->objectName() + " -> " + chain[i]->objectName();
        }
        if (chain.size() < 5) problems << "too few controls in the focus chain";
        return problems;
    }

    QPointer<TQueueMainForm> form_;
};

QTEST_MAIN(QueueWindowTest)
#include "queue_window_test.moc"

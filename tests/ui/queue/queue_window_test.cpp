// The queue window driven as a user would: typing into the fields, choosing items and tabs,
// reading Results, answering its boxes, and its Scenario... and Simulate... dialogs.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>
#include <algorithm>
#include <functional>

#include "chart/xy_graph.h"
#include "core/numeric/numerical_failure.h"
#include "core/queue/queue_model.h"
#include "core/queue/scenario.h"
#include "core/queue/simulation.h"
#include "support/recording_host.h"
#include "ui/common/help.h"
#include "ui/common/radio_group.h"
#include "ui/common/ui_test_support.h"
#include "ui/graph/gmc_graph1.h"
#include "ui/graph/graph_window.h"
#include "ui/queue/edit_filter.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/queue_main_form.h"
#include "ui/queue/results_panel.h"

using namespace wachtrix;
using namespace wachtrix::ui;
using wachtrix::testing::DataRows;
using wachtrix::testing::DataText;
using wachtrix::testing::DialogRecorder;

namespace {

// The runs, refusals and saves the tests go through.
const char* const kRuns = "queue_window.txt";

// A line of Results as text with its style letter, "T:M/M/c queue".
QStringList StyledLines(const QTextEdit* results) {
    QStringList lines;
    for (QTextBlock block = results->document()->begin(); block.isValid(); block = block.next()) {
        QChar style = '-';  // an empty line has no style to show
        if (!block.text().isEmpty()) {
            // Colour, then i(talic), u(nderlined), b(old): T blue iu, B bold, U underlined.
            const QTextCharFormat f = block.begin().fragment().charFormat();
            const QString key = f.foreground().color().name() + (f.fontItalic() ? "i" : "") +
                                (f.fontUnderline() ? "u" : "") +
                                (f.fontWeight() == QFont::Bold     ? "b"
                                 : f.fontWeight() == QFont::Normal ? ""
                                                                   : "?");
            static const QHash<QString, QChar> styles = {
                {"#0000ffiu", 'T'}, {"#000000b", 'B'}, {"#000000u", 'U'}, {"#000000", 'N'}};
            style = styles.value(key, '?');
            // One style for the whole line.
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat() != f) style = '?';
        }
        lines << QString(style) + ":" + block.text();
    }
    return lines;
}

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The lines a run wrote to the tests' recording host, in StyledLines' notation.
QStringList CoreLines(const testing::RecordingHost& host) {
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
        QCOMPARE(pages->count(), static_cast<int>(QueueModels().size()));
        for (int i = 0; i < pages->count(); ++i) {
            const QueueModelSpec& model = *QueueModels()[static_cast<std::size_t>(i)];
            QCOMPARE(pages->tabBar()->tabText(i).toStdString(), model.caption);
            QVERIFY(form_->tab(model.key));
            QCOMPARE(form_->tab(model.key)->page()->objectName().toStdString(), model.sheetName);
        }
        QCOMPARE(pages->tabBar()->tabText(pages->currentIndex()), QString("M/D/c"));
        QCOMPARE(pages->currentWidget()->objectName(), QString("MDC_TabSheet"));
        QVERIFY(!edit("GMC_CA2_Edit")->isEnabled());
        for (const QStringList& row : DataRows(kRuns, "initial texts"))
            QCOMPARE(shownText(row.at(0)), row.value(1));
        QCOMPARE(StyledLines(results()).first().left(8), QString("N:QUEUE,"));
    }

    // The value groups are the twelve edits of each group of each tab, in order; a text the
    // readers rewrote is shown as it stands (no filter takes the marks away).
    void valueGroupsAreTheTwelveEditsInOrder() {
        for (const QueueModelSpec* model : QueueModels()) {
            QueueTab* tab = form_->tab(model->key);
            for (const ValueGroupLimit& group : model->groups)
                for (int i = 0; i < 12; ++i)
                    QCOMPARE(tab->values(group.kind)[static_cast<std::size_t>(i)],
                             edit(QString("%1_%2Edit%3")
                                      .arg(Q(model->prefix))
                                      .arg(group.kind)
                                      .arg(i + 1)));
        }
        QueueForm form = form_->tab("mmc")->form();
        form.t = {" 3", "", "1", "1.2.3**"};
        form_->tab("mmc")->showValues(form);
        QCOMPARE(edit("MMC_TEdit4")->text(), QString("1.2.3**"));
        QCOMPARE(form_->tab("mmc")->form().t, form.t);
    }

    // Under every selection of a tab's choices and Output items, the tab shows what the
    // selection reads: its fields, its choices, the Output group and the value group of the
    // chosen item; and the range labels and captions are those of the chosen items.
    void everySelectionShowsWhatItReads() {
        for (const QueueModelSpec* model : QueueModels()) {
            QueueTab* tab = form_->tab(model->key);
            for (const Selection& s : AllSelections(*model)) {
                QueueForm form = tab->form();
                form.selection = s;
                Select(*tab, form);
                QCOMPARE(tab->form().selection.items, s.items);
                QCOMPARE(tab->form().selection.output, s.output);
                const std::string where = std::string(model->key) + " " + Describe(s);
                for (const FieldSpec& field : model->fields) {
                    QLineEdit* e = tab->edit(field.editName);
                    if (!field.isShown(s) || model->fieldIndex(field.editName) !=
                                                 static_cast<int>(&field - model->fields.data()))
                        continue;
                    QVERIFY2(!e->isHidden(), where.c_str());
                    QCOMPARE(e->isEnabled(), field.isEnabled(s));
                    const QString stem = e->objectName().chopped(
                        e->objectName().endsWith("_edit", Qt::CaseInsensitive) ? 5 : 0);
                    QCOMPARE(label(stem + "_label").toStdString(),
                             std::string(field.captionFor(s)));
                    if (!field.rangeLabelOf && form_->findChild<QLabel*>(stem + "_range_label"))
                        QCOMPARE(label(stem + "_range_label").toStdString(),
                                 std::string(field.limit(s).rangeLabel));
                }
                for (const ChoiceSpec& choice : model->choices)
                    QCOMPARE(shown(Q(choice.objectName)), choice.isShown(s));
                const OutputSpec* output = model->outputFor(s);
                for (const OutputSpec& o : model->outputs)
                    QCOMPARE(shown(Q(o.objectName)), &o == output);
                for (const ValueGroupLimit& group : model->groups) {
                    const auto reads = output->items[static_cast<std::size_t>(s.output)].values;
                    const bool wanted = reads != ValueGroupKind::None &&
                                        group.kind == " TPN"[static_cast<int>(reads)];
                    QVERIFY2(tab->values(group.kind)[0]->parentWidget()->isHidden() == !wanted,
                             (where + " " + group.kind).c_str());
                }
            }
        }
    }

    // Every tab hands what it holds to its model exactly as the batch tool hands the same words:
    // Results gets the same lines with their styles, the value groups the readers' rewrite, and
    // the graph windows the same labels and points.
    void everyTabRunsAsTheBatchToolDoes_data() {
        testing::AddDataRows(kRuns, "runs as the batch tool");
    }
    void everyTabRunsAsTheBatchToolDoes() {
        QFETCH(QStringList, row);
        const QString& call = row.at(0);
        const QueueForm asked = testing::FormOf(call.toStdString());
        QueueTab* tab = form_->tab(testing::Words(call.toStdString()).at(0));
        Select(*tab, asked);
        form_->ClearButtonClick();
        QTest::mouseClick(find<QPushButton>(Q(tab->model().prefix) + "_Run_Button"),
                          Qt::LeftButton);

        testing::RecordingHost core;
        const QueueForm rewritten = testing::RunRecorded(core, call.toStdString());
        QVERIFY(core.errors.empty());
        QCOMPARE(StyledLines(results()).mid(2), CoreLines(core));
        QCOMPARE(form_->results().style(), ResultTextStyle::Normal);
        const QueueForm held = tab->form();
        QCOMPARE(held.t, rewritten.t);
        QCOMPARE(held.p, rewritten.p);
        QCOMPARE(held.n, rewritten.n);

        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), static_cast<int>(core.windows.size()));
        for (int w = 0; w < windows.size(); ++w) {
            const auto& expected = core.windows[static_cast<std::size_t>(w)];
            QCOMPARE(windows[w]->isVisible(), expected.shown);
            for (std::size_t l = 0; l < expected.labels.size(); ++l)
                QCOMPARE(windows[w]->label(static_cast<int>(l))->text().toStdString(),
                         expected.labels[l]);
            for (const auto& [chart, plot] : expected.charts)
                QCOMPARE(windows[w]->chart(chart)->Series(plot.series).Count(),
                         static_cast<int>(plot.points.size()));
        }
    }

    // What is typed is the number that runs: a comma is the decimal point, an exponent can be
    // typed, and a key the field drops shows the field's hint beside it.
    void typingKeepsNumbersAndSaysWhatItDrops() {
        const auto typed = [this](const QString& name, const QString& keys) {
            QToolTip::hideText();
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
                return std::pair{QString(), QString("the last hint stays")};
            edit(name)->clear();
            QTest::keyClicks(edit(name), keys);
            return std::pair{edit(name)->text(),
                             QToolTip::isVisible() ? QToolTip::text() : QString()};
        };
        using Typed = std::pair<QString, QString>;
        for (const QStringList& r : DataRows(kRuns, "typing")) {
            const char* hint = r.at(3) == "real"      ? kRealHint
                               : r.at(3) == "integer" ? kIntegerHint
                                                      : "";
            QCOMPARE(typed(r.at(0), r.at(1)), (Typed{r.at(2), hint}));
        }

        // Typing in the middle: the caret stays after the last kept character.
        QLineEdit* rho = edit("MMC_Rho_edit");
        rho->setText("12");
        rho->setCursorPosition(1);
        QTest::keyClicks(rho, "x5");
        QCOMPARE(rho->text(), QString("152"));
        QCOMPARE(rho->cursorPosition(), 2);
        QApplication::clipboard()->setText("a0,b5");
        QLineEdit* t = edit("MMC_TEdit1");
        t->clear();
        t->paste();
        QCOMPARE(t->text(), QString("0.5"));

        // The comma-decimal rho runs as the number it shows.
        typed("MMC_C_edit", "2");
        typed("MMC_Rho_edit", "0,8");
        QTest::mouseClick(find<QPushButton>("MMC_Run_Button"), Qt::LeftButton);
        QVERIFY(StyledLines(results()).contains("B:Parameters: c=2  rho=0.8"));
    }

    // The typing filter itself, as plain functions, over tests/data/ui/input_rules.txt.
    void filterKeepsWhatANumberMayHold_data() { testing::AddDataRows("input_rules.txt", "filter"); }
    void filterKeepsWhatANumberMayHold() {
        QFETCH(QStringList, row);
        QCOMPARE(row.size(), 7);
        const int caret = row[2].toInt();
        const FilteredText result =
            row[3] == "real" ? FilterReal(row[1], caret) : FilterInteger(row[1], caret);
        QCOMPARE(result.text, row[4]);
        QCOMPARE(result.caret, row[5].toInt());
        QCOMPARE(result.dropped, row[6] == "yes");
    }

    // Deterministic arrivals show CA2 = 0 in the disabled field; the typed value comes back with
    // the other arrivals (their range labels are seen in everySelectionShowsWhatItReads).
    void gmcKeepsTheTypedCA2() {
        auto* arrivals = find<RadioGroup>("GMC_Arrivals_RadioGroup");
        QLineEdit* ca2 = edit("GMC_CA2_Edit");
        arrivals->item(1)->click();
        QCOMPARE(ca2->text(), QString());
        QTest::keyClicks(ca2, "0.5");
        for (const int item : {0, 2, 3, 0, 1}) {
            arrivals->item(item)->click();
            QCOMPARE(ca2->text(), QString(item == 0 ? "0" : "0.5"));
            QCOMPARE(ca2->isEnabled(), item != 0);
        }
    }

    // Captions and range labels that follow what is typed into other fields, shown or not.
    void labelsFollowTheTypedFields() {
        find<RadioGroup>("FinCap_Queue_Type")->item(2)->click();
        auto* values = find<QGroupBox>("FinCap_NValues_GroupBox");
        find<RadioGroup>("FinCap_Output2")->item(2)->click();
        QTest::keyClicks(edit("FinCap_C_edit"), "4");
        QCOMPARE(values->title(), QString("n-values"));  // N still unreadable
        QTest::keyClicks(edit("FinCap_N_edit"), "61");
        QCOMPARE(values->title(), QString("n-values (<=65)"));
        find<RadioGroup>("FinCap_Output2")->item(0)->click();
        QTest::keyClicks(edit("FinCap_C_edit"), "0");
        find<RadioGroup>("FinCap_Queue_Type")->item(0)->click();
        find<RadioGroup>("FinCap_Output1")->item(2)->click();
        QCOMPARE(values->title(), QString("n-values (<=101)"));
        edit("FinCap_C_edit")->clear();
        QCOMPARE(values->title(), QString("n-values"));

        QTest::keyClicks(edit("FinSrc_N_Edit"), "25");
        QCOMPARE(find<QGroupBox>("FinSrc_NValues_GroupBox")->title(), QString("n-values (<=25)"));

        QLineEdit* rho = edit("MM1_Rho_edit");
        for (const auto& [typed, bound] : {std::pair{"0.5", "<= 53"}, {"1.0", ""}, {"0", "<= 1"}}) {
            rho->clear();
            QTest::keyClicks(rho, typed);
            QCOMPARE(label("MM1_initial_state_range_label"), QString(bound));
        }
    }

    // Results: a fixed-pitch read-only text that Clear sets back to its banner, whose new lines
    // come into view while the focus stays where it is, and that ends a failed run with its
    // notice (the error box itself is seen in refusedFieldGetsTheCursor).
    void resultsPanel() {
        ResultsPanel* panel = results();
        QVERIFY(panel->isReadOnly());
        QCOMPARE(panel->lineWrapMode(), QTextEdit::NoWrap);
        QCOMPARE(panel->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(panel->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(panel->font().pointSize(), 9);
        const QFontMetrics metrics(panel->font());
        QCOMPARE(metrics.horizontalAdvance("iiiii"), metrics.horizontalAdvance("WWWWW"));

        showAndActivate();
        QLineEdit* c = edit("MDC_C_edit");
        c->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), c);
        for (int i = 0; i < 300; ++i)
            form_->results().AddResultLine("line " + std::to_string(i));
        QScrollBar* bar = panel->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QVERIFY(bar->value() > bar->maximum() - 3 * panel->fontMetrics().height());
        QCOMPARE(panel->textCursor().block().text(), QString("line 299"));
        QVERIFY(panel->viewport()->rect().contains(panel->cursorRect()));
        QCOMPARE(QApplication::focusWidget(), c);

        form_->results().SetUnderlineStyle();
        QTest::mouseClick(find<QPushButton>("ClearButton"), Qt::LeftButton);
        const QStringList lines = StyledLines(panel);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith("N:QUEUE, "));
        QVERIFY(lines[0].size() > 12);
        QCOMPARE(lines[1], QString("-:"));
        QCOMPARE(panel->toPlainText(), lines[0].mid(2) + "\n");

        form_->results().SetUnderlineStyle();
        RunGuarded(*form_, [&] {
            form_->results().AddResultLine("         t     P{Wq>t}");
            throw NumericalFailure({"pause in RTBIS"});
        });
        QCOMPARE(StyledLines(panel).mid(2),
                 (QStringList{"U:         t     P{Wq>t}",
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

    // Quit asks in English, File's Close in Dutch; No keeps the window, Yes closes it.
    void quitAndCloseAskFirst_data() { testing::AddDataRows(kRuns, "quit and close"); }
    void quitAndCloseAskFirst() {
        QFETCH(QStringList, row);
        const QString& command = row.at(1);
        DialogRecorder boxes;
        QAction* close = form_->fileMenu()->findChild<QAction*>("Close1");
        QCOMPARE(close->text(), QString("Close &Queue"));
        const auto ask = [&] {
            if (command == "Close1")
                close->trigger();
            else
                QTest::mouseClick(find<QPushButton>(command), Qt::LeftButton);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        ask();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind,
                 command == "Close1" ? DialogKind::DutchConfirm : DialogKind::Confirm);
        QCOMPARE(boxes.requests[0].title, row.at(2));
        QCOMPARE(boxes.requests[0].text, row.at(3));
        QVERIFY(form_);  // No keeps the window
        boxes.answer(DialogButton::Yes);
        ask();
        QVERIFY(!form_);
    }

    // F1 opens the topic of the tab, of its field or of the window; every tab's Help button
    // shows the one help picture.
    void helpOpensTheRightTopic() {
        showAndActivate();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        const QImage picture = HelpIcon().pixmap(16, 16).toImage();
        QVERIFY(!picture.isNull());
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            const auto helps = pages->currentWidget()->findChildren<QPushButton*>(
                QRegularExpression("_Help_Button$"));
            QCOMPARE(helps.size(), 1);
            QCOMPARE(helps[0]->icon().pixmap(16, 16).toImage(), picture);
            auto* first = pages->currentWidget()->findChild<QLineEdit*>();
            first->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), first);
            QTest::keyClick(first, Qt::Key_F1);
            QCOMPARE(LastHelpContext(), QueueModels()[static_cast<std::size_t>(i)]->helpContext);
        }
        QTest::mouseClick(find<QPushButton>("MM1_Help_Button"), Qt::LeftButton);
        QCOMPARE(LastHelpContext(), 12);
        // A field's own topic; outside the tabs, and on the tab bar, the queue window's.
        for (const char* name : {"MM1_Rho_edit", "Results", "MM1_Rho_edit", "PageControlTabs"}) {
            QTest::keyClick(find<QWidget>(name), Qt::Key_F1);
            QCOMPARE(LastHelpContext(), QString(name) == "MM1_Rho_edit" ? 180 : 12);
        }
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
        QVERIFY(testing::IsPdf(boxes.fileName));
    }

    // A file that cannot be written is told, and nothing is left behind.
    void saveThatCannotBeWrittenSaysSo() {
        QTemporaryDir dir;
        DialogRecorder boxes;
        boxes.fileName = dir.filePath("missing/results.txt");
        QTest::mouseClick(find<QPushButton>("SaveButton"), Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{"Cannot write file " + boxes.fileName +
                                            "\nNo such file or directory"});
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

    // Every tab in every combination of its choices: nothing clipped, nothing overlapping, the
    // tab order running down the page; and nothing jumps: the item clicked stays under the
    // mouse, Run, Quit and Help stay where they are.
    void everyTabIsLaidOutCleanly() {
        showAndActivate();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        QCOMPARE(pages->width(), 300);
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QApplication::processEvents();
            QWidget* page = pages->currentWidget();
            auto* scroll = page->findChild<QScrollArea*>();
            QVERIFY(scroll);
            QWidget* inputs = scroll->widget();
            const QList<RadioGroup*> groups = page->findChildren<RadioGroup*>();
            const QList<QRect> buttons = ButtonPlaces(page);
            QStringList problems;
            int states = 0;
            // Every item of every visible group, the later groups under each choice of the
            // earlier ones: the layout in each state, and the item clicked and the buttons kept
            // in their places.
            std::function<void(int, const QString&)> exercise = [&](int k, const QString& where) {
                if (k == groups.size()) {
                    ++states;
                    QApplication::processEvents();
                    if (inputs->width() > scroll->viewport()->width()) problems << where + ": wide";
                    // The inputs, and Scenario..., Simulate..., Run, Quit and Help below them.
                    const auto bar = page->findChildren<QWidget*>(QRegularExpression("_Buttons$"));
                    if (bar.size() != 1) problems << where + ": no button bar";
                    for (QWidget* area : QList<QWidget*>{inputs} + bar)
                        for (const QString& problem : LayoutProblems(area))
                            problems << where + ": " + problem;
                    for (const QString& problem : TabOrderProblems(page))
                        problems << where + ": tab order " + problem;
                    if (ButtonPlaces(page) != buttons) problems << where + ": the buttons moved";
                    return;
                }
                RadioGroup* group = groups[k];
                if (group->isHidden()) return exercise(k + 1, where);
                const int kept = group->itemIndex();
                for (int item = 0; item < group->count(); ++item) {
                    QRadioButton* clicked = group->item(item);
                    const QPoint before = clicked->mapTo(page, QPoint());
                    clicked->click();
                    QApplication::processEvents();
                    const QString state =
                        QString("%1 %2=%3").arg(where, group->objectName()).arg(item);
                    if (clicked->mapTo(page, QPoint()) != before) problems << state + ": moved";
                    exercise(k + 1, state);
                }
                group->item(kept)->click();
            };
            exercise(0, page->objectName());
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join("\n")));
            QVERIFY(states >= 2);
        }
    }

    // The wider Pure Erlang caption "1/CS2:" does not push the edits aside (the captions and
    // their room are everySelectionShowsWhatItReads' and everyTabIsLaidOutCleanly's).
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
            QCOMPARE(edit("DG1_CS2_edit")->geometry(), cs2);
            QCOMPARE(edit("DG1_Rho_edit")->geometry(), rho);
        }
    }

    // After a refusal box the refused field has the cursor, its text selected for retyping.
    void refusedFieldGetsTheCursor_data() {
        testing::AddDataRows(kRuns, "refused field gets the cursor");
    }
    void refusedFieldGetsTheCursor() {
        QFETCH(QStringList, row);
        const QString &choice = row.at(2), &message = row.at(5), &refused = row.at(6);
        showAndActivate();
        showTab(row.at(1).toStdString());
        if (!choice.isEmpty()) find<QRadioButton>(choice)->click();
        for (const QString& field : row.at(3).split(' ')) {
            const QStringList pair = field.split('=');
            edit(pair[0])->setText(pair[1]);
        }
        DialogRecorder boxes;
        QPushButton* button = find<QPushButton>(row.at(4));
        button->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.requests[0].text, message);  // the box text as it was
        QTRY_COMPARE(QApplication::focusWidget(), edit(refused));
        QCOMPARE(edit(refused)->selectedText(), edit(refused)->text());
        QVERIFY(!edit(refused)->text().isEmpty());
    }

    // The tab set: every caption fits within the width, in reading order, nothing overlaps, and
    // each row ends at the right edge; a click on a tab of another row moves no tab (nothing
    // jumps from under the pointer), and choosing the tab already shown signals nothing.
    void tabSetFitsEveryCaptionAndStaysPut() {
        showAndActivate();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        MultiRowTabBar* bar = pages->tabBar();
        const int width = pages->width();
        QVERIFY(bar->rowCount() > 1);
        int rowsEndingAtTheEdge = 0;
        QList<QRect> before;
        for (int i = 0; i < bar->count(); ++i) {
            const QRect r = bar->tabRect(i);
            const QString caption = bar->tabText(i);
            before << r;
            rowsEndingAtTheEdge += r.right() == width - 1;
            QVERIFY2(r.left() >= 0 && r.right() < width && r.bottom() < bar->height(),
                     qPrintable(caption));
            QVERIFY2(r.width() > bar->fontMetrics().horizontalAdvance(caption),
                     qPrintable(caption));
            for (int j = i + 1; j < bar->count(); ++j)
                QVERIFY2(!r.intersects(bar->tabRect(j)),
                         qPrintable(caption + " overlaps " + bar->tabText(j)));
            const QRect previous = i > 0 ? bar->tabRect(i - 1) : QRect(-1, 0, 1, 1);
            QVERIFY(r.top() > previous.top() ||
                    (r.top() == previous.top() && r.left() > previous.left()));
        }
        QCOMPARE(bar->tabRect(0).topLeft(), QPoint(0, 0));
        QCOMPARE(rowsEndingAtTheEdge, bar->rowCount());

        QSignalSpy changed(pages, &MultiRowTabWidget::currentChanged);
        const int height = bar->height();
        QVERIFY(bar->tabRect(0).top() != bar->tabRect(9).top());  // the clicks change rows
        for (int i : {0, 6, 9, 3, 8}) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            QCOMPARE(pages->currentIndex(), i);
            QCOMPARE(pages->currentWidget(), form_->tab(QueueModels()[i]->key)->page());
            for (int j = 0; j < bar->count(); ++j)
                QCOMPARE(bar->tabRect(j), before[j]);
            QCOMPARE(bar->height(), height);
        }
        pages->setCurrentIndex(8);  // already shown: no signal
        QCOMPARE(changed.size(), 5);
        QCOMPARE(changed.last()[0].toInt(), 8);
    }

    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp change tabs from anywhere in the
    // window, wrapping round; arrows, Home and End move along the tab bar when it has focus.
    void keyboardChangesTabs() {
        showAndActivate();
        auto* pages = find<MultiRowTabWidget>("PageControl");
        QCOMPARE(pages->currentIndex(), 3);
        for (const QStringList& k : DataRows(kRuns, "tab keys")) {
            if (!k.at(0).isEmpty()) {
                QWidget* focus = find<QWidget>(k.at(0));
                focus->setFocus();
                QTRY_COMPARE(QApplication::focusWidget(), focus);
            }
            const QKeyCombination key = QKeySequence(k.at(1))[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            QCOMPARE(pages->currentIndex(), (k.at(2).toInt() + pages->count()) % pages->count());
        }
    }

    // Save writes what Results shows in the format of the file's type: the plain text, HTML
    // that keeps the line styles, or a PDF. The file type chosen in the save dialog decides the
    // format and the missing extension; a name typed with one of the offered extensions keeps it.
    void chosenFileTypeDecidesFormatAndExtension_data() {
        testing::AddDataRows(kRuns, "file types");
    }
    void chosenFileTypeDecidesFormatAndExtension() {
        QFETCH(QStringList, row);
        const QString &save = row.at(1), &written = row.at(4);
        QTemporaryDir dir;
        DialogRecorder boxes;
        boxes.fileName = dir.filePath(row.at(3));
        boxes.fileFilter = row.at(2);
        Select(*form_->tab("mmc"), testing::FormOf("mmc c=2 rho=0.8 output=4"));
        QTest::mouseClick(find<QPushButton>("MMC_Run_Button"), Qt::LeftButton);
        if (save == "results")
            QTest::mouseClick(find<QPushButton>("SaveButton"), Qt::LeftButton);
        else if (save == "menu")
            form_->fileMenu()->findChild<QAction*>("SaveResults1")->trigger();
        else
            form_->findChild<GraphWindow*>()
                ->findChild<QAction*>("SaveChartImageAction")
                ->trigger();
        QVERIFY(boxes.requests.isEmpty());
        QVERIFY(boxes.fileRequests.at(0).save);
        if (save != "image") QCOMPARE(boxes.fileRequests[0].defaultSuffix, QString("txt"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
        const QByteArray bytes = testing::ReadBytes(dir.filePath(written));
        const QString suffix = QFileInfo(written).suffix().toLower();
        if (suffix == "pdf") QVERIFY(testing::IsPdf(dir.filePath(written)));
        // The title line in blue italics, underlined; the parameter line bold.
        if (suffix == "html") {
            QVERIFY(
                QRegularExpression("<span style=\"[^\"]*font-style:italic;[^\"]*text-decoration: "
                                   "underline;[^\"]*color:#0000ff;[^\"]*\">M/M/c queue</span>")
                    .match(bytes)
                    .hasMatch());
            QVERIFY(QRegularExpression("font-weight:(700|600|bold);[^\"]*\">Parameters: c=2")
                        .match(bytes)
                        .hasMatch());
        }
        if (suffix == "txt") QCOMPARE(QString::fromUtf8(bytes), results()->toPlainText() + "\n");
        if (suffix == "svg") QVERIFY(bytes.contains("<svg"));
        if (suffix == "png") QVERIFY(bytes.startsWith("\x89PNG"));
    }

    // Times, states and probabilities are never negative, nor are their axes; the transient
    // graphs run over 0..T and label queue sizes as such; the red cross marks only a point that
    // lies at the origin.
    void graphAxesStayAtZeroOrAbove_data() { testing::AddDataRows(kRuns, "graph axes"); }
    void graphAxesStayAtZeroOrAbove() {
        QFETCH(QStringList, row);
        const std::string call = row.at(1).toStdString();
        const double xMax = row.at(2).toDouble();  // 0: as the points give it
        QueueTab* tab = form_->tab(testing::Words(call).at(0));
        Select(*tab, testing::FormOf(call));
        find<QPushButton>(Q(tab->model().prefix) + "_Run_Button")->click();
        auto* graph = form_->findChild<GraphWindow*>()->chart(0);
        const QImage image = graph->grab().toImage();
        const chart::AxisScale x = graph->XAxis().Scale(), y = graph->YAxis().Scale();
        QVERIFY(x.valid && y.valid);
        QCOMPARE(x.min, 0.0);
        if (xMax > 0) QCOMPARE(x.max, xMax);
        QVERIFY(y.min >= 0);
        QCOMPARE(QString::fromStdString(graph->YAxis().Title), row.at(3));
        int red = 0;
        for (int line = 0; line < image.height(); ++line)
            for (int column = 0; column < image.width(); ++column) {
                const QRgb p = image.pixel(column, line);
                red += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
            }
        QCOMPARE(red > 0, row.at(4) == "yes");  // the red cross
    }

    // Graph windows open over the Results side and cascade there, leaving the edits in view.
    // "&Window" lists them by their labels, brings one forward, cascades or tiles them over the
    // Results side and closes them all; Escape closes a graph window (help_test.cpp the help
    // window).
    void graphWindowsOpenBesideTheInputsAndTheWindowMenuArrangesThem() {
        form_->move(0, 0);
        showAndActivate();
        Select(*form_->tab("mmc"), testing::FormOf("mmc c=2 rho=0.8 output=4"));
        auto* pages = find<MultiRowTabWidget>("PageControl");
        const QRect inputs(pages->mapToGlobal(QPoint(0, 0)), pages->size());
        const QPoint resultsAt = results()->mapToGlobal(QPoint(0, 0));
        for (int run = 0; run < 3; ++run) {
            find<QPushButton>("MMC_Run_Button")->click();
            GraphWindow* w = form_->openGraphWindows().back();
            QVERIFY(w->isVisible());
            QVERIFY2(!w->frameGeometry().intersects(inputs), qPrintable(QString::number(run)));
            QVERIFY(w->x() >= resultsAt.x() && w->y() >= resultsAt.y());
        }
        QMenu* menu = form_->windowMenu();
        const auto items = [menu] {
            emit menu->aboutToShow();
            return menu->findChildren<QAction*>("GraphWindowItem");
        };
        const auto command = [menu](const char* name) {
            emit menu->aboutToShow();
            return menu->findChild<QAction*>(name);
        };
        const std::vector<GraphWindow*> windows = form_->openGraphWindows();
        QCOMPARE(windows.size(), 3u);
        QCOMPARE(items().size(), 3);
        QCOMPARE(items().at(1)->text(),
                 "&2 Logarithmic Graphs of the M/M/c queue: " + windows[1]->label(1)->text() +
                     ", " + windows[1]->label(2)->text());
        // 20 pixels on each time, unless the cascade wrapped round within the Results side: as
        // they opened, and cascaded again.
        for (const bool cascaded : {false, true}) {
            if (cascaded) command("Cascade1")->trigger();
            for (std::size_t k = 1; k < windows.size(); ++k) {
                const QPoint step = windows[k]->pos() - windows[k - 1]->pos();
                QVERIFY(step == QPoint(20, 20) || step.x() < 0 || step.y() < 0);
            }
        }
        items().at(0)->trigger();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(windows[0]));

        QPointer<GraphWindow> first = windows[0];
        QTest::keyClick(first->findChild<QPushButton*>("MG1_Graph_Close_button"), Qt::Key_Escape);
        testing::DeleteClosedWindows();
        QVERIFY(!first);
        QCOMPARE(items().size(), 2);
        // Two fit side by side on the test's screen of 800 x 600.
        command("Tile1")->trigger();
        QVERIFY(!windows[1]->frameGeometry().intersects(windows[2]->frameGeometry()));
        for (GraphWindow* window : {windows[1], windows[2]})
            QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        command("CloseAllGraphs1")->trigger();
        testing::DeleteClosedWindows();
        QVERIFY(form_->openGraphWindows().empty());
        QVERIFY(items().isEmpty());
        QVERIFY(!command("Tile1")->isEnabled());
    }

    // Scenario... on M/M/c: the dialog's choices run as the batch tool runs them, the table in
    // Results and its curves in a graph window.
    void scenarioTabulatesAsTheBatchToolDoes() {
        DialogRecorder boxes;
        QPointer<QDialog> dialog = openScenarioOnRho();
        QVERIFY(dialog->isVisible());
        form_->ClearButtonClick();
        auto* from = testing::Child<QLineEdit>(dialog, "Scenario_From_edit");
        auto* to = testing::Child<QLineEdit>(dialog, "Scenario_To_edit");
        QCOMPARE(from->text() + ".." + to->text(), QString("0.4..0.8"));
        from->setText("0.5");
        to->setText("0.9");
        testing::Child<QSpinBox>(dialog, "Scenario_Points_edit")->setValue(5);
        auto* figures = testing::Child<QListWidget>(dialog, "Scenario_Figures_list");
        QStringList ticked;
        for (int row = 0; row < figures->count(); ++row)
            if (figures->item(row)->checkState() == Qt::Checked)
                ticked << figures->item(row)->text();
        QCOMPARE(ticked, (QStringList{"Pwait", "E(Wq)"}));
        // t opens only while a figure reads it.
        auto* t = testing::Child<QLineEdit>(dialog, "Scenario_T_edit");
        QListWidgetItem* wqt = figures->findItems("P{Wq>t}", Qt::MatchExactly).at(0);
        QVERIFY(!t->isEnabled());
        wqt->setCheckState(Qt::Checked);
        QVERIFY(t->isEnabled());
        wqt->setCheckState(Qt::Unchecked);
        QVERIFY(!t->isEnabled());
        testing::Child<QPushButton>(dialog, "Scenario_OK_button")->click();
        testing::DeleteClosedWindows();
        QVERIFY(!dialog);
        QVERIFY(boxes.requests.isEmpty());

        const ScenarioRequest request{
            .field = "rho", .from = 0.5, .to = 0.9, .count = 5, .figures = {"Pwait", "E(Wq)"}};
        testing::RecordingHost core;
        WriteScenarioTable(
            core.results(),
            RunScenario(*FindQueueModel("mmc"), testing::FormOf("mmc c=2 rho=0.8"), request));
        QCOMPARE(StyledLines(results()).mid(2), CoreLines(core));
        const QList<GraphWindow*> windows = form_->findChildren<GraphWindow*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
    }

    // A range beyond the field's limits is refused with the dialog still open; nothing runs.
    // A request without figures is refused in the dialog, which stays; a range that runs past
    // the field's limits runs, each value beyond them a row with the reason.
    void scenarioRefusesARequestAndRowsBeyondTheLimits() {
        DialogRecorder boxes;
        QDialog* dialog = openScenarioOnRho();
        const QStringList before = StyledLines(results());
        auto* figures = testing::Child<QListWidget>(dialog, "Scenario_Figures_list");
        for (int row = 0; row < figures->count(); ++row)
            figures->item(row)->setCheckState(Qt::Unchecked);
        testing::Child<QPushButton>(dialog, "Scenario_OK_button")->click();
        QCOMPARE(boxes.texts(), QStringList{"no figures asked for"});
        QVERIFY(dialog->isVisible());
        QCOMPARE(StyledLines(results()), before);
        QVERIFY(form_->findChildren<GraphWindow*>().isEmpty());

        figures->findItems("Pwait", Qt::MatchExactly).at(0)->setCheckState(Qt::Checked);
        testing::Child<QLineEdit>(dialog, "Scenario_From_edit")->setText("0.5");
        testing::Child<QLineEdit>(dialog, "Scenario_To_edit")->setText("1.5");
        testing::Child<QSpinBox>(dialog, "Scenario_Points_edit")->setValue(3);
        testing::Child<QPushButton>(dialog, "Scenario_OK_button")->click();
        QCOMPARE(boxes.texts().size(), 1);
        const QStringList text = results()->toPlainText().split('\n');
        QVERIFY(text.contains("       0.5    0.333333"));
        QVERIFY(text.contains("       1.5  Rho out of range"));
    }

    // Simulate... on M/M/c: the dialog's options run as the batch tool's simulate= runs them,
    // after the tab's own report.
    void simulatesAfterTheReportAsTheBatchToolDoes() {
        DialogRecorder boxes;
        QDialog* dialog = openSimulationOnMmc();
        QVERIFY(dialog->isVisible());
        EnterSimulation(dialog, "20000", 4, "7");
        QVERIFY2(boxes.requests.isEmpty(), qPrintable(boxes.texts().join('\n')));

        testing::RecordingHost core;
        const Simulation simulation = SimulateModel(
            *FindQueueModel("mmc"), testing::FormOf("mmc c=2 rho=0.8"), {20000, 4, 7});
        WriteSimulationBlock(core.results(), simulation);
        QStringList block;
        for (const StyledLine& line : core.sink.lines)
            block << QString::fromStdString(line.text);
        const QStringList lines = results()->toPlainText().split('\n');
        const qsizetype at = lines.indexOf(block.front());
        QVERIFY2(at > 0, qPrintable(lines.join('\n')));
        QCOMPARE(lines.mid(at, block.size()), block);
        QVERIFY(lines.mid(0, at).join('\n').contains("Parameters: c=2  rho=0.8"));
        QCOMPARE(block.front(), QString("Simulation: 4 runs of 20000 customers, seed 7"));
    }

    // Options the model cannot take are refused in the dialog, which stays open.
    void simulationRefusesOptionsItCannotTakeWithTheDialogOpen() {
        DialogRecorder boxes;
        QDialog* dialog = openSimulationOnMmc();
        const QStringList before = StyledLines(results());
        EnterSimulation(dialog, "lots", 10, "1");
        EnterSimulation(dialog, "1000", 10, "-3");
        EnterSimulation(dialog, "0", 10, "1");
        QCOMPARE(boxes.requests.size(), 3);
        QVERIFY(boxes.texts()[0].contains("customers"));
        QVERIFY(boxes.texts()[1].contains("seed"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(StyledLines(results()), before);
    }

    // Simulate... is there exactly where the model has a twin to simulate.
    void simulationOfferedWhereTheModelHasATwin() {
        for (const QueueModelSpec* model : QueueModels()) {
            const QString name = Q(model->prefix) + "_Simulate_button";
            const bool offered = form_->findChild<QPushButton*>(name) != nullptr;
            QVERIFY2(offered == (model->twin != nullptr), qPrintable(name));
        }
    }

private:
    template <class T>
    T* find(const QString& name) const {
        return testing::Child<T>(form_.data(), name);
    }
    QLineEdit* edit(const QString& name) const { return find<QLineEdit>(name); }
    QString label(const QString& name) const { return find<QLabel>(name)->text(); }
    // What a widget shows of itself: a label's or an edit's text, a group's title, a button's
    // hint.
    QString shownText(const QString& name) const {
        QWidget* w = find<QWidget>(name);
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
        return w->toolTip();
    }
    bool shown(const QString& name) const { return !find<QWidget>(name)->isHidden(); }
    ResultsPanel* results() const { return find<ResultsPanel>("Results"); }

    void showTab(const std::string& key) {
        auto* pages = find<MultiRowTabWidget>("PageControl");
        for (int i = 0; i < pages->count(); ++i)
            if (QueueModels()[static_cast<std::size_t>(i)]->key == key) pages->setCurrentIndex(i);
    }

    // Puts a form into its tab as a user would: the tab shown, the choices and the Output item
    // clicked, then the fields the selection reads and the value groups typed.
    void Select(QueueTab& tab, const QueueForm& form) {
        const QueueModelSpec& model = tab.model();
        showTab(std::string(model.key));
        for (std::size_t i = 0; i < model.choices.size(); ++i) {
            const QString name = Q(model.choices[i].objectName);
            if (model.choices[i].checkBox)
                find<QCheckBox>(name)->setChecked(form.selection.items[i] == 1);
            else
                find<RadioGroup>(name)->item(form.selection.items[i])->click();
        }
        if (const OutputSpec* output = model.outputFor(form.selection))
            find<RadioGroup>(Q(output->objectName))->item(form.selection.output)->click();
        for (std::size_t i = 0; i < model.fields.size(); ++i) {
            const FieldSpec& field = model.fields[i];
            if (field.isRead(form.selection))
                tab.edit(field.editName)->setText(QString::fromStdString(form.fields[i]));
        }
        QueueForm values = tab.form();
        values.t = form.t;
        values.p = form.p;
        values.n = form.n;
        tab.showValues(values);
    }

    // The M/M/c tab with c = 2, rho = 0.8, Scenario... pressed and rho chosen in its dialog.
    QDialog* openScenarioOnRho() {
        Select(*form_->tab("mmc"), testing::FormOf("mmc c=2 rho=0.8"));
        find<QPushButton>("MMC_Scenario_button")->click();
        auto* dialog = find<QDialog>("Scenario_dialog");
        auto* field = testing::Child<QComboBox>(dialog, "Scenario_Field_combo");
        field->setCurrentIndex(field->findData("rho"));
        return dialog;
    }
    // The M/M/c tab with c = 2, rho = 0.8, Results cleared, Simulate... pressed.
    QDialog* openSimulationOnMmc() {
        form_->show();
        Select(*form_->tab("mmc"), testing::FormOf("mmc c=2 rho=0.8"));
        form_->ClearButtonClick();
        find<QPushButton>("MMC_Simulate_button")->click();
        return find<QDialog>("Simulation_dialog");
    }
    static void EnterSimulation(QDialog* dialog, const QString& customers, int runs,
                                const QString& seed) {
        testing::Child<QLineEdit>(dialog, "Simulation_customers_edit")->setText(customers);
        testing::Child<QSpinBox>(dialog, "Simulation_runs_spin")->setValue(runs);
        testing::Child<QLineEdit>(dialog, "Simulation_seed_edit")->setText(seed);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }

    static std::string Describe(const Selection& s) {
        std::string text;
        for (const int item : s.items)
            text += std::to_string(item) + " ";
        return text + "output " + std::to_string(s.output);
    }

    void showAndActivate() {
        form_->show();
        QApplication::setActiveWindow(form_);
        QVERIFY(QTest::qWaitForWindowActive(form_));
    }

    // Where Run, Quit and Help are on a tab page.
    static QList<QRect> ButtonPlaces(QWidget* page) {
        QList<QRect> places;
        for (QPushButton* button : page->findChildren<QPushButton*>())
            if (QRegularExpression("_(Run|Quit|Help)_Button$")
                    .match(button->objectName())
                    .hasMatch())
                places << QRect(button->mapTo(page, QPoint()), button->size());
        return places;
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

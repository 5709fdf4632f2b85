// The main window: the background picture, opening and closing a module, the merged menus and
// the close question.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include "ui/common/ui_test_support.h"
#include "ui/markov/markov_keuze_dialoog.h"
#include "ui/markov/markov_window.h"
#include "ui/network/network_window.h"
#include "ui/queue/queue_main_form.h"
#include "ui/shell/about_box.h"
#include "ui/shell/info_form.h"
#include "ui/shell/pelmo_main.h"

using namespace wachtrix::ui;
using wachtrix::testing::Child;
using wachtrix::testing::DeleteClosedWindows;
using wachtrix::testing::DialogRecorder;

namespace {

// The menu titles the user sees, in order.
QStringList VisibleMenus(QMainWindow* window) {
    QStringList titles;
    for (QAction* action : window->menuBar()->actions())
        if (action->isVisible()) titles << action->text();
    return titles;
}

QMenu* Menu(QMainWindow* window, const QString& title) {
    for (QAction* action : window->menuBar()->actions())
        if (action->isVisible() && action->text() == title) return action->menu();
    qFatal("no menu %s", qPrintable(title));
}

QStringList Commands(QMainWindow* window, const QString& menuTitle) {
    QStringList texts;
    for (QAction* item : Menu(window, menuTitle)->actions())
        texts << item->text();
    return texts;
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        main_ = new TPelmoMain;
        main_->resize(1280, 900);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
    }
    void cleanup() {
        delete main_.data();
        DeleteClosedWindows();
        QCOMPARE(PelmoMain, nullptr);
        QCOMPARE(QueueMainForm, nullptr);
    }

    void startsWithTheBarAndThePicture() {
        QCOMPARE(PelmoMain, main_.data());
        QCOMPARE(main_->windowTitle(), QString("Wachtrix"));
        expectNoModuleState();
        QCOMPARE(find<QToolButton>("StartQueue")->toolTip(), QString("Queue"));
        QCOMPARE(find<QToolButton>("SpeedButton1")->toolTip(), QString("Markov"));
        QCOMPARE(find<QToolButton>("StartQueue")->size(), QSize(35, 35));
        QCOMPARE(find<QWidget>("Panel1")->height(), 55);
        QCOMPARE(find<QLabel>("StatusPanel0")->text(), QString());
        QCOMPARE(find<QLabel>("StatusPanel0")->width(), 350);
        QVERIFY(!find<QLabel>("StatusPanel1")->text().isEmpty());
        QVERIFY(main_->ProgramFolder.endsWith('/'));
        QVERIFY(QFileInfo(main_->ProgramFolder +
                          QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                    .exists());
        QCOMPARE(Commands(main_, "&File"),
                 (QStringList{"&Reset Settings...", "", "&Close Wachtrix"}));
        QCOMPARE(Commands(main_, "&Modules"),
                 (QStringList{"&Queue", "Markov Chains", "&Networks"}));

        // The picture fills the client area.
        TInfoForm* info = main_->InfoForm();
        QTRY_VERIFY(info->isVisible());
        QWidget* area = find<QWidget>("MdiArea");
        QCOMPARE(info->window(), main_.data());
        QCOMPARE(info->mapTo(area, QPoint(0, 0)), QPoint(0, 0));
        QCOMPARE(info->size(), area->size());
        // The picture is a JPEG, decoded through Qt's image plugin.
        QVERIFY(info->hasPicture());
    }

    void queueOpensInPlaceOfThePicture() {
        QTest::mouseClick(find<QToolButton>("StartQueue"), Qt::LeftButton);
        DeleteClosedWindows();
        QVERIFY(main_->ModuleOpen);
        QVERIFY(!main_->MarkovOpen);
        QVERIFY(QueueMainForm);
        QCOMPARE(main_->module(), static_cast<QWidget*>(QueueMainForm));
        QVERIFY(!main_->InfoForm());
        QVERIFY(main_->findChildren<TInfoForm*>().isEmpty());
        QVERIFY(find<QWidget>("Panel1")->isHidden());
        QCOMPARE(VisibleMenus(main_), (QStringList{"&File", "&Window", "&Help"}));
        QCOMPARE(Commands(main_, "&File"),
                 (QStringList{"&Save Results...", "&Print Results...", "Print Pre&view...", "",
                              "Close &Queue", "Close &Wachtrix"}));
        QCOMPARE(Commands(main_, "&Help"),
                 (QStringList{"&Help content", "", "&About Wachtrix..."}));
        QTRY_VERIFY(QueueMainForm->isVisible());
        QCOMPARE(QueueMainForm->size(), find<QWidget>("MdiArea")->size());

        main_->SpeedButton1Click();  // no menu or button offers it; the call changes nothing
        QCOMPARE(main_->module(), static_cast<QWidget*>(QueueMainForm));
        QVERIFY(!main_->MarkovOpen);
    }

    void closingAModuleBringsTheShellBack() {
        DialogRecorder boxes;
        main_->StartQueueClick();
        boxes.answer(DialogButton::Yes);
        QueueMainForm->fileMenu()->findChild<QAction*>("Close1")->trigger();
        DeleteClosedWindows();
        QCOMPARE(QueueMainForm, nullptr);
        expectNoModuleState();

        // Either module opens again, and goes again.
        main_->SpeedButton1Click();
        QVERIFY(main_->ModuleOpen);
        QVERIFY(main_->MarkovOpen);
        QVERIFY(qobject_cast<TMarkov*>(main_->module()));
        QVERIFY(find<QWidget>("Panel1")->isHidden());
        QVERIFY(!VisibleMenus(main_).contains("&Modules"));
        QCOMPARE(VisibleMenus(main_).last(), QString("&Help"));
        main_->module()->close();
        DeleteClosedWindows();
        expectNoModuleState();

        QTest::mouseClick(find<QToolButton>("StartNetworks"), Qt::LeftButton);
        QVERIFY(qobject_cast<TNetworks*>(main_->module()));
        QCOMPARE(VisibleMenus(main_), (QStringList{"&File", "&Edit", "&Help"}));
        main_->module()->findChild<QAction*>("CloseNetworks1")->trigger();
        DeleteClosedWindows();
        expectNoModuleState();

        QTest::mouseClick(find<QToolButton>("StartQueue"), Qt::LeftButton);
        QVERIFY(QueueMainForm);
        QVERIFY(main_->ModuleOpen);
        QVERIFY(!main_->MarkovOpen);
    }

    // Closing asks, with or without a module open: No keeps everything as it was, Yes closes
    // the module first (which asks nothing more) and then the program.
    void closeAsksFirst_data() {
        QTest::addColumn<bool>("module");
        QTest::addColumn<bool>("yes");
        QTest::newRow("no module, No") << false << false;
        QTest::newRow("no module, Yes") << false << true;
        QTest::newRow("queue open, No") << true << false;
        QTest::newRow("queue open, Yes") << true << true;
    }
    void closeAsksFirst() {
        QFETCH(bool, module);
        QFETCH(bool, yes);
        DialogRecorder boxes;
        if (yes) boxes.answer(DialogButton::Yes);
        QPointer<TQueueMainForm> queue;
        if (module) {
            main_->StartQueueClick();
            queue = QueueMainForm;
            Child<QLineEdit>(queue, "MMC_C_edit")->setText("2");
            queue->fileMenu()->findChild<QAction*>("Exit1")->trigger();
        } else {
            Menu(main_, "&File")->findChild<QAction*>("Exit1")->trigger();
        }
        DeleteClosedWindows();
        QCOMPARE(boxes.texts(), QStringList{"Do you want to close Wachtrix?"});
        QCOMPARE(boxes.requests[0].kind, DialogKind::Confirm);
        QCOMPARE(main_->isVisible(), !yes);
        if (yes) {
            QVERIFY(!queue);
        } else if (!module) {
            expectNoModuleState();
        } else {
            QVERIFY(queue);
            QCOMPARE(Child<QLineEdit>(queue, "MMC_C_edit")->text(), QString("2"));
            QVERIFY(main_->ModuleOpen);
            QVERIFY(find<QWidget>("Panel1")->isHidden());
        }
    }

    // The Markov dialog stays above the program's own windows only (it is theirs, not the
    // desktop's), and every question shows above the window the user acted in: the program's
    // window for its menu and its close box, the dialog for its "&Quit".
    void boxesShowAboveTheWindowActedIn() {
        DialogRecorder boxes;
        main_->SpeedButton1Click();
        auto* dialog = find<TMarkovKeuzeDialoog>("MarkovKeuzeDialoog");
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowType(), Qt::Tool);
        QVERIFY(!(dialog->windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog->windowHandle()->transientParent(),
                 static_cast<QWindow*>(main_->windowHandle()));

        Menu(main_, "&File")->findChild<QAction*>("CloseMarkov1")->trigger();
        Child<QPushButton>(dialog, "TerugBtn")->click();
        main_->close();
        QCOMPARE(boxes.texts(), (QStringList{"Do you want to quit from Markov Chains?",
                                             "Do you want to quit from Markov Chains?",
                                             "Do you want to close Wachtrix?"}));
        QWidget* program = main_.data();
        QCOMPARE(boxes.requests[0].parent, program);
        QCOMPARE(boxes.requests[1].parent, static_cast<QWidget*>(dialog));
        QCOMPARE(boxes.requests[2].parent, program);
        QVERIFY(main_->isVisible() && dialog->isVisible());  // No each time
    }

    void aboutBoxTogglesItsNotes() {
        TAboutBox about;
        QCOMPARE(about.windowTitle(), QString("Informatie"));
        QStringList texts;
        for (QLabel* label : about.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("Versie: 2.0"));
        QVERIFY(texts.contains("Wachtrix"));
        auto* notes = about.findChild<QPlainTextEdit*>("Memo1");
        auto* toggle = about.findChild<QPushButton*>("ModificatiesButton");
        QVERIFY(notes->isHidden());
        QVERIFY(toggle->isHidden());
        QCOMPARE(toggle->text(), QString("Modificaties"));
        for (const bool shown : {true, false}) {
            toggle->click();
            QCOMPARE(notes->isHidden(), !shown);
            QCOMPARE(toggle->text(), QString(shown ? "Info" : "Modificaties"));
        }
        toggle->click();
        about.findChild<QPushButton*>("OKButton")->click();
        QVERIFY(notes->isHidden());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

private:
    template <class T>
    T* find(const QString& name) const {
        return Child<T>(main_.data(), name);
    }

    void expectNoModuleState() {
        QVERIFY(!main_->ModuleOpen);
        QVERIFY(!main_->MarkovOpen);
        QVERIFY(!main_->module());
        QVERIFY(!find<QWidget>("Panel1")->isHidden());
        QVERIFY(main_->InfoForm());
        QVERIFY(main_->InfoForm()->hasPicture());
        QCOMPARE(main_->findChildren<TInfoForm*>().size(), 1);
        QCOMPARE(VisibleMenus(main_), (QStringList{"&File", "&Modules", "&Help"}));
    }

    QPointer<TPelmoMain> main_;
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"

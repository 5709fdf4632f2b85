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

#include "ui/common/dialog_recorder.h"
#include "ui/markov/markov_window.h"
#include "ui/queue/queue_main_form.h"
#include "ui/shell/about_box.h"
#include "ui/shell/info_form.h"
#include "ui/shell/pelmo_main.h"

using namespace wachtrix::ui;
using wachtrix::testing::DialogRecorder;

namespace {

// The menu titles the user sees, in order.
QStringList VisibleMenus(QMainWindow* window) {
    QStringList titles;
    for (QAction* action : window->menuBar()->actions())
        if (action->isVisible()) titles << action->text();
    return titles;
}

QStringList Commands(QMainWindow* window, const QString& menuTitle) {
    for (QAction* action : window->menuBar()->actions()) {
        if (action->isVisible() && action->text() == menuTitle && action->menu()) {
            QStringList texts;
            for (QAction* item : action->menu()->actions())
                texts << item->text();
            return texts;
        }
    }
    return {};
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
        Settle();
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
        QCOMPARE(Commands(main_, "&File"), QStringList{"&Close Wachtrix"});
        QCOMPARE(Commands(main_, "&Modules"), (QStringList{"&Queue", "Markov Chains"}));
    }

    void pictureFillsTheClientArea() {
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
        Settle();
        QVERIFY(main_->ModuleOpen);
        QVERIFY(!main_->MarkovOpen);
        QVERIFY(QueueMainForm);
        QCOMPARE(main_->module(), static_cast<QWidget*>(QueueMainForm));
        QVERIFY(!main_->InfoForm());
        QVERIFY(main_->findChildren<TInfoForm*>().isEmpty());
        QVERIFY(find<QWidget>("Panel1")->isHidden());
        QCOMPARE(VisibleMenus(main_), (QStringList{"&File", "&Help"}));
        QCOMPARE(Commands(main_, "&File"),
                 (QStringList{"&Save Results...", "&Print Results...", "Print Pre&view...", "",
                              "Close &Queue", "Close &Wachtrix"}));
        QCOMPARE(Commands(main_, "&Help"), QStringList{"&Help content"});
        QTRY_VERIFY(QueueMainForm->isVisible());
        QCOMPARE(QueueMainForm->size(), find<QWidget>("MdiArea")->size());
    }

    void closingAModuleBringsTheShellBack() {
        DialogRecorder boxes;
        main_->StartQueueClick();
        boxes.answer(DialogButton::Yes);
        QueueMainForm->fileMenu()->findChild<QAction*>("Close1")->trigger();
        Settle();
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
        Settle();
        expectNoModuleState();

        QTest::mouseClick(find<QToolButton>("StartQueue"), Qt::LeftButton);
        QVERIFY(QueueMainForm);
        QVERIFY(main_->ModuleOpen);
        QVERIFY(!main_->MarkovOpen);
    }

    void noSecondModuleWhileOneIsOpen() {
        main_->StartQueueClick();
        QWidget* queue = main_->module();
        main_->SpeedButton1Click();  // no menu or button offers it; the call changes nothing
        QCOMPARE(main_->module(), queue);
        QVERIFY(!main_->MarkovOpen);
    }

    void noKeepsEverythingAsItWas() {
        DialogRecorder boxes;
        main_->close();
        QCOMPARE(boxes.requests.size(), 1);
        QCOMPARE(boxes.requests[0].kind, DialogKind::Confirm);
        QCOMPARE(boxes.requests[0].text, QString("Do you want to close Wachtrix?"));
        QVERIFY(main_->isVisible());
        expectNoModuleState();

        main_->StartQueueClick();
        QPointer<TQueueMainForm> queue = QueueMainForm;
        queue->findChild<QLineEdit*>("MMC_C_edit")->setText("2");
        queue->fileMenu()->findChild<QAction*>("Exit1")->trigger();
        Settle();
        QCOMPARE(boxes.requests.size(), 2);
        QCOMPARE(boxes.requests[1].text, QString("Do you want to close Wachtrix?"));
        QVERIFY(main_->isVisible());
        QVERIFY(queue);
        QCOMPARE(queue->findChild<QLineEdit*>("MMC_C_edit")->text(), QString("2"));
        QVERIFY(main_->ModuleOpen);
        QVERIFY(find<QWidget>("Panel1")->isHidden());
    }

    void yesClosesTheModuleFirst() {
        DialogRecorder boxes;
        main_->StartQueueClick();
        QPointer<TQueueMainForm> queue = QueueMainForm;
        boxes.answer(DialogButton::Yes);
        QVERIFY(main_->close());
        Settle();
        QVERIFY(!queue);
        QVERIFY(!main_->isVisible());
        QCOMPARE(boxes.requests.size(), 1);  // the queue's own close asks nothing more
    }

    void yesWithoutModuleEndsTheProgram() {
        DialogRecorder boxes;
        boxes.answer(DialogButton::Yes);
        menu(main_->menuBar(), "&File")->actions().first()->trigger();
        QVERIFY(!main_->isVisible());
    }

    void aboutBoxTogglesItsNotes() {
        TAboutBox about;
        QCOMPARE(about.windowTitle(), QString("Informatie"));
        QVERIFY(!about.findChildren<QLabel*>().isEmpty());
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
        toggle->click();
        QVERIFY(!notes->isHidden());
        QCOMPARE(toggle->text(), QString("Info"));
        toggle->click();
        QVERIFY(notes->isHidden());
        QCOMPARE(toggle->text(), QString("Modificaties"));
        toggle->click();
        about.findChild<QPushButton*>("OKButton")->click();
        QVERIFY(notes->isHidden());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

private:
    template <class T>
    T* find(const QString& name) const {
        T* widget = main_->findChild<T*>(name);
        if (!widget) qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    static QMenu* menu(QMenuBar* bar, const QString& title) {
        for (QAction* action : bar->actions())
            if (action->isVisible() && action->text() == title) return action->menu();
        qFatal("no menu %s", qPrintable(title));
    }

    void expectNoModuleState() {
        QVERIFY(!main_->ModuleOpen);
        QVERIFY(!main_->MarkovOpen);
        QVERIFY(!main_->module());
        QVERIFY(!find<QWidget>("Panel1")->isHidden());
        QVERIFY(main_->InfoForm());
        QVERIFY(main_->InfoForm()->hasPicture());
        QCOMPARE(main_->findChildren<TInfoForm*>().size(), 1);
        QCOMPARE(VisibleMenus(main_), (QStringList{"&File", "&Modules"}));
    }

    QPointer<TPelmoMain> main_;
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"

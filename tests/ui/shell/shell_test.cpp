// The main window: the background picture, opening and closing a module, the merged menus and
// the close question; and what it remembers from one session to the next: the windows come back
// as they were left, a broken settings file costs only its broken values, the recent chains, and
// forgetting it all. Each session reads the settings afresh from an INI file of the test's own.

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPoint>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <memory>

#include "ui/common/app_settings.h"
#include "ui/common/radio_group.h"
#include "ui/common/ui_test_support.h"
#include "ui/markov/markov_keuze_dialoog.h"
#include "ui/markov/markov_window.h"
#include "ui/markov/spin_edit.h"
#include "ui/markov/string_grid.h"
#include "ui/network/network_window.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/queue_main_form.h"
#include "ui/shell/about_box.h"
#include "ui/shell/info_form.h"
#include "ui/shell/pelmo_main.h"
#include "ui/shell/wachtrix_application.h"

using wachtrix::testing::AddTagRows;
using wachtrix::testing::Child;
using wachtrix::testing::DataText;
using wachtrix::testing::DeleteClosedWindows;
using wachtrix::testing::DialogRecorder;
using namespace wachtrix::ui;

namespace {

constexpr int kMdcTab = 3;  // where the queue window opens the first time

template <class T>
T* Find(const QString& name) {
    return Child<T>(PelmoMain, name);
}

QString Text(const char* edit) {
    return Find<QLineEdit>(edit)->text();
}

void SetStates(QWidget* dialog, int states) {
    auto* edit = Child<QLineEdit>(dialog, "EditAantalStates");
    edit->setText(QString::number(states));
    QTest::keyClick(edit, Qt::Key_Return);
}

// The files "Recent &Chains" offers, top to bottom, as the "&File" menu opens.
QStringList RecentChains(TMarkov& markov) {
    emit markov.fileMenu()->aboutToShow();
    QStringList files;
    for (QAction* item : Child<QAction>(markov.fileMenu(), "RecentChains1")->menu()->actions())
        files << item->data().toString();
    return files;
}

void ChooseRecentChain(TMarkov& markov, const QString& file) {
    const qsizetype at = RecentChains(markov).indexOf(file);
    if (at < 0) qFatal("%s is not a recent chain", qPrintable(file));
    Child<QAction>(markov.fileMenu(), "RecentChains1")->menu()->actions().at(at)->trigger();
}

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

private:
    QTemporaryDir dir_;
    std::unique_ptr<QSettings> store_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<DialogRecorder> boxes_;

    QString iniFile() const { return dir_.filePath("wachtrix.ini"); }

    // The settings as a new session reads them: from the file, written when the last one ended.
    void newSession() {
        settings_.reset();
        store_.reset();  // written out
        store_ = std::make_unique<QSettings>(iniFile(), QSettings::IniFormat);
        settings_ = std::make_unique<AppSettings>(*store_);
    }
    void start() {
        auto* main = new TPelmoMain(nullptr, settings_.get());
        main->showRestored();
        QVERIFY(QTest::qWaitForWindowExposed(main));
    }
    // "Close Wachtrix", Yes: the module closes first, then the program.
    void quit() {
        boxes_->answer(DialogButton::Yes);
        PelmoMain->close();
        DeleteClosedWindows();
        delete PelmoMain;
        DeleteClosedWindows();
    }

    // The queue window closed (Yes to its question), the Markov module opened: its dialog once
    // shown, or null.
    TMarkovKeuzeDialoog* MarkovInsteadOfQueue() {
        boxes_->answer(DialogButton::Yes);
        QueueMainForm->Close1Click();
        DeleteClosedWindows();
        PelmoMain->SpeedButton1Click();
        TMarkovKeuzeDialoog* dialog = Find<TMarkovKeuzeDialoog>("MarkovKeuzeDialoog");
        return QTest::qWaitFor([dialog] { return dialog->isVisible(); }) ? dialog : nullptr;
    }

    void expectNoModuleState() {
        QVERIFY(!PelmoMain->ModuleOpen);
        QVERIFY(!PelmoMain->MarkovOpen);
        QVERIFY(!PelmoMain->module());
        QVERIFY(!Find<QWidget>("Panel1")->isHidden());
        QVERIFY(PelmoMain->InfoForm());
        QVERIFY(PelmoMain->InfoForm()->hasPicture());
        QCOMPARE(PelmoMain->findChildren<TInfoForm*>().size(), 1);
        QCOMPARE(VisibleMenus(PelmoMain), (QStringList{"&File", "&Modules", "&Help"}));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // nothing reaches the user's own settings
        QVERIFY(dir_.isValid());
    }
    void init() {
        QFile::remove(iniFile());
        boxes_ = std::make_unique<DialogRecorder>();
        newSession();
    }
    void cleanup() {
        delete PelmoMain;
        DeleteClosedWindows();
        QCOMPARE(PelmoMain, nullptr);
        QCOMPARE(QueueMainForm, nullptr);
        settings_.reset();
        store_.reset();
        boxes_.reset();
    }

    void startsWithTheBarAndThePicture() {
        start();
        QCOMPARE(PelmoMain, PelmoMain);
        QCOMPARE(PelmoMain->windowTitle(), QString("Wachtrix"));
        expectNoModuleState();
        QCOMPARE(Find<QToolButton>("StartQueue")->toolTip(), QString("Queue"));
        QCOMPARE(Find<QToolButton>("SpeedButton1")->toolTip(), QString("Markov"));
        QCOMPARE(Find<QToolButton>("StartQueue")->size(), QSize(35, 35));
        QCOMPARE(Find<QWidget>("Panel1")->height(), 55);
        QCOMPARE(Find<QLabel>("StatusPanel0")->text(), QString());
        QCOMPARE(Find<QLabel>("StatusPanel0")->width(), 350);
        QVERIFY(!Find<QLabel>("StatusPanel1")->text().isEmpty());
        QVERIFY(PelmoMain->ProgramFolder.endsWith('/'));
        QVERIFY(QFileInfo(PelmoMain->ProgramFolder +
                          QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                    .exists());
        QCOMPARE(Commands(PelmoMain, "&File"),
                 (QStringList{"&Reset Settings...", "", "&Close Wachtrix"}));
        QCOMPARE(Commands(PelmoMain, "&Modules"),
                 (QStringList{"&Queue", "Markov Chains", "&Networks"}));

        // The picture fills the client area.
        TInfoForm* info = PelmoMain->InfoForm();
        QTRY_VERIFY(info->isVisible());
        QWidget* area = Find<QWidget>("MdiArea");
        QCOMPARE(info->window(), PelmoMain);
        QCOMPARE(info->mapTo(area, QPoint(0, 0)), QPoint(0, 0));
        QCOMPARE(info->size(), area->size());
        // The picture is a JPEG, decoded through Qt's image plugin.
        QVERIFY(info->hasPicture());
    }

    void queueOpensInPlaceOfThePicture() {
        start();
        QTest::mouseClick(Find<QToolButton>("StartQueue"), Qt::LeftButton);
        DeleteClosedWindows();
        QVERIFY(PelmoMain->ModuleOpen);
        QVERIFY(!PelmoMain->MarkovOpen);
        QVERIFY(QueueMainForm);
        QCOMPARE(PelmoMain->module(), static_cast<QWidget*>(QueueMainForm));
        QVERIFY(!PelmoMain->InfoForm());
        QVERIFY(PelmoMain->findChildren<TInfoForm*>().isEmpty());
        QVERIFY(Find<QWidget>("Panel1")->isHidden());
        QCOMPARE(VisibleMenus(PelmoMain), (QStringList{"&File", "&Window", "&Help"}));
        QCOMPARE(Commands(PelmoMain, "&File"),
                 (QStringList{"&Save Results...", "&Print Results...", "Print Pre&view...", "",
                              "Close &Queue", "Close &Wachtrix"}));
        QCOMPARE(Commands(PelmoMain, "&Help"),
                 (QStringList{"&Help content", "", "&About Wachtrix..."}));
        QTRY_VERIFY(QueueMainForm->isVisible());
        QCOMPARE(QueueMainForm->size(), Find<QWidget>("MdiArea")->size());

        PelmoMain->SpeedButton1Click();  // no menu or button offers it; the call changes nothing
        QCOMPARE(PelmoMain->module(), static_cast<QWidget*>(QueueMainForm));
        QVERIFY(!PelmoMain->MarkovOpen);
    }

    void closingAModuleBringsTheShellBack() {
        start();
        DialogRecorder boxes;
        PelmoMain->StartQueueClick();
        boxes.answer(DialogButton::Yes);
        QueueMainForm->fileMenu()->findChild<QAction*>("Close1")->trigger();
        DeleteClosedWindows();
        QCOMPARE(QueueMainForm, nullptr);
        expectNoModuleState();

        // Either module opens again, and goes again.
        PelmoMain->SpeedButton1Click();
        QVERIFY(PelmoMain->ModuleOpen);
        QVERIFY(PelmoMain->MarkovOpen);
        QVERIFY(qobject_cast<TMarkov*>(PelmoMain->module()));
        QVERIFY(Find<QWidget>("Panel1")->isHidden());
        QVERIFY(!VisibleMenus(PelmoMain).contains("&Modules"));
        QCOMPARE(VisibleMenus(PelmoMain).last(), QString("&Help"));
        PelmoMain->module()->close();
        DeleteClosedWindows();
        expectNoModuleState();

        QTest::mouseClick(Find<QToolButton>("StartNetworks"), Qt::LeftButton);
        QVERIFY(qobject_cast<TNetworks*>(PelmoMain->module()));
        QCOMPARE(VisibleMenus(PelmoMain), (QStringList{"&File", "&Edit", "&Help"}));
        PelmoMain->module()->findChild<QAction*>("CloseNetworks1")->trigger();
        DeleteClosedWindows();
        expectNoModuleState();

        QTest::mouseClick(Find<QToolButton>("StartQueue"), Qt::LeftButton);
        QVERIFY(QueueMainForm);
        QVERIFY(PelmoMain->ModuleOpen);
        QVERIFY(!PelmoMain->MarkovOpen);
    }

    // Closing asks, with or without a module open: No keeps everything as it was, Yes closes
    // the module first (which asks nothing more) and then the program.
    void closeAsksFirst_data() {
        AddTagRows("row", {"no module, No", "no module, Yes", "queue open, No", "queue open, Yes"});
    }
    void closeAsksFirst() {
        QFETCH(int, row);
        const bool module = row >= 2, yes = row % 2 == 1;
        start();
        DialogRecorder boxes;
        if (yes) boxes.answer(DialogButton::Yes);
        QPointer<TQueueMainForm> queue;
        if (module) {
            PelmoMain->StartQueueClick();
            queue = QueueMainForm;
            Child<QLineEdit>(queue, "MMC_C_edit")->setText("2");
            queue->fileMenu()->findChild<QAction*>("Exit1")->trigger();
        } else {
            Menu(PelmoMain, "&File")->findChild<QAction*>("Exit1")->trigger();
        }
        DeleteClosedWindows();
        QCOMPARE(boxes.texts(), QStringList{"Do you want to close Wachtrix?"});
        QCOMPARE(boxes.requests[0].kind, DialogKind::Confirm);
        QCOMPARE(PelmoMain->isVisible(), !yes);
        if (yes) {
            QVERIFY(!queue);
        } else if (!module) {
            expectNoModuleState();
        } else {
            QVERIFY(queue);
            QCOMPARE(Child<QLineEdit>(queue, "MMC_C_edit")->text(), QString("2"));
            QVERIFY(PelmoMain->ModuleOpen);
            QVERIFY(Find<QWidget>("Panel1")->isHidden());
        }
    }

    // The Markov dialog stays above the program's own windows only (it is theirs, not the
    // desktop's), and every question shows above the window the user acted in: the program's
    // window for its menu and its close box, the dialog for its "&Quit".
    void boxesShowAboveTheWindowActedIn() {
        start();
        DialogRecorder boxes;
        PelmoMain->SpeedButton1Click();
        auto* dialog = Find<TMarkovKeuzeDialoog>("MarkovKeuzeDialoog");
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowType(), Qt::Tool);
        QVERIFY(!(dialog->windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog->windowHandle()->transientParent(),
                 static_cast<QWindow*>(PelmoMain->windowHandle()));

        Menu(PelmoMain, "&File")->findChild<QAction*>("CloseMarkov1")->trigger();
        Child<QPushButton>(dialog, "TerugBtn")->click();
        PelmoMain->close();
        QCOMPARE(boxes.texts(), (QStringList{"Do you want to quit from Markov Chains?",
                                             "Do you want to quit from Markov Chains?",
                                             "Do you want to close Wachtrix?"}));
        QWidget* program = PelmoMain;
        QCOMPARE(boxes.requests[0].parent, program);
        QCOMPARE(boxes.requests[1].parent, static_cast<QWidget*>(dialog));
        QCOMPARE(boxes.requests[2].parent, program);
        QVERIFY(PelmoMain->isVisible() && dialog->isVisible());  // No each time
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

    void theWindowsComeBackAsTheyWereLeft() {
        start();
        QVERIFY(PelmoMain->isMaximized());  // the first time
        PelmoMain->showNormal();
        const QRect place(40, 30, 720, 520);
        PelmoMain->setGeometry(place);
        QTRY_COMPARE(PelmoMain->geometry(), place);
        PelmoMain->StartQueueClick();
        Find<MultiRowTabWidget>("PageControl")->setCurrentIndex(5);
        Find<QLineEdit>("MMC_C_edit")->setText("3");
        Find<RadioGroup>("MMC_Output_RadioGroup")->item(1)->click();
        Find<QLineEdit>("MMC_TEdit2")->setText("0.5");
        quit();

        newSession();
        start();
        QCOMPARE(PelmoMain->geometry(), place);
        QVERIFY(!PelmoMain->isMaximized());
        PelmoMain->StartQueueClick();
        QCOMPARE(Find<MultiRowTabWidget>("PageControl")->currentIndex(), 5);
        QCOMPARE(Text("MMC_C_edit"), QString("3"));
        QCOMPARE(Find<RadioGroup>("MMC_Output_RadioGroup")->itemIndex(), 1);
        QCOMPARE(Text("MMC_TEdit2"), QString("0.5"));
        QVERIFY(!Find<QWidget>("MMC_TValues_GroupBox")->isHidden());  // as the choice shows it

        // The Markov dialog keeps its place and its simple fields, not the chain.
        TMarkovKeuzeDialoog* dialog = MarkovInsteadOfQueue();
        QVERIFY(dialog);
        dialog->move(5, 30);  // as high as a title bar can be, left where it still fits
        QTRY_COMPARE(dialog->pos(), QPoint(5, 30));
        const QRect dialogPlace = dialog->geometry();
        Child<QComboBox>(dialog, "cbSoortMarkovChain")->setCurrentIndex(1);
        SetStates(dialog, 7);
        Child<TStringGrid>(dialog, "sgOvergangsMatrix")->setCell(6, 6, "-2");
        Child<RadioGroup>(dialog, "rgSoort")->setItemIndex(2);
        Child<QLineEdit>(dialog, "EditInitialState")->setText("6");
        Child<TSpinEdit>(dialog, "seTimePoints")->setValue(9);
        quit();

        newSession();
        start();
        PelmoMain->SpeedButton1Click();
        dialog = Find<TMarkovKeuzeDialoog>("MarkovKeuzeDialoog");
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->geometry(), dialogPlace);
        QCOMPARE(dialog->chainKind(), wachtrix::ChainKind::Continuous);
        QCOMPARE(Child<QLineEdit>(dialog, "EditAantalStates")->text(), QString("7"));
        auto* matrix = Child<TStringGrid>(dialog, "sgOvergangsMatrix");
        QCOMPARE(matrix->rowCount(), 7);
        QCOMPARE(matrix->cell(6, 6), QString("0"));
        QCOMPARE(Child<RadioGroup>(dialog, "rgSoort")->itemIndex(), 2);
        QCOMPARE(Child<QLineEdit>(dialog, "EditInitialState")->text(), QString("6"));
        QCOMPARE(Child<TSpinEdit>(dialog, "seTimePoints")->value(), 9);
        QCOMPARE(Child<TStringGrid>(dialog, "sgTimePoints")->rowCount(), 9);
    }

    // Values of the wrong type, out of range or unreadable are passed over one by one; the
    // program starts with its defaults for them and the good values around them.
    void aBrokenSettingsFileCostsOnlyItsBrokenValues() {
        const QString chainA = dir_.filePath("a.txt");
        const QString chainC = dir_.filePath("c.txt");
        {
            QFile broken(iniFile());
            QVERIFY(broken.open(QIODevice::WriteOnly));
            broken.write(DataText("settings.txt", "broken")
                             .join('\n')
                             .toUtf8()
                             .replace("DIR", dir_.path().toUtf8()));
        }
        newSession();
        TQueueMainForm fresh;  // the defaults
        const auto freshText = [&](const char* edit) {
            return Child<QLineEdit>(&fresh, edit)->text();
        };

        start();
        QVERIFY(PelmoMain->isMaximized());
        PelmoMain->StartQueueClick();
        QCOMPARE(Find<MultiRowTabWidget>("PageControl")->currentIndex(), kMdcTab);
        QCOMPARE(Text("MMC_C_edit"), QString("2"));
        QCOMPARE(Text("MMC_Rho_edit"), freshText("MMC_Rho_edit"));
        QCOMPARE(Find<RadioGroup>("MMC_Output_RadioGroup")->itemIndex(), 0);
        QCOMPARE(Text("MM1_Rho_edit"), freshText("MM1_Rho_edit"));
        QCOMPARE(Text("MDC_C_edit"), QString("4"));

        TMarkovKeuzeDialoog* dialog = MarkovInsteadOfQueue();
        QVERIFY(dialog);
        QCOMPARE(dialog->size(), TMarkovKeuzeDialoog().size());
        QCOMPARE(dialog->chainKind(), wachtrix::ChainKind::Continuous);
        QCOMPARE(Child<QLineEdit>(dialog, "EditAantalStates")->text(), QString("5"));
        QCOMPARE(Child<TStringGrid>(dialog, "sgOvergangsMatrix")->rowCount(), 5);
        QCOMPARE(Child<TSpinEdit>(dialog, "seTimePoints")->value(), 4);
        QCOMPARE(Child<RadioGroup>(dialog, "rgSoort")->itemIndex(), 0);
        QCOMPARE(Child<QLineEdit>(dialog, "EditInitialState")->text(), QString("2"));

        QCOMPARE(settings_->folder(AppSettings::Folder::Open), QString());
        QCOMPARE(settings_->folder(AppSettings::Folder::Save), QString());
        QCOMPARE(settings_->folder(AppSettings::Folder::Export), dir_.path());
        QCOMPARE(settings_->recentChains(), (QStringList{chainA, chainC}));
        QCOMPARE(boxes_->texts(), QStringList{"Wilt u Queue afsluiten?"});
    }

    // The last eight chain files opened or saved, newest first; choosing one opens it, and one
    // that is gone is taken off the list with a word to the user.
    void recentChainsOpenTheLastEightFiles() {
        TMarkov markov(nullptr, settings_.get());
        markov.show();
        TMarkovKeuzeDialoog* dialog = markov.dialog();
        const auto chain = [&](int states) {
            return dir_.filePath(QString("chain%1.txt").arg(states));
        };
        QVERIFY(RecentChains(markov).isEmpty());
        QVERIFY(!Child<QAction>(markov.fileMenu(), "RecentChains1")->isEnabled());

        for (int states = 1; states <= 10; ++states) {
            SetStates(dialog, states);
            boxes_->fileName = chain(states);
            Child<QAction>(markov.fileMenu(), "SaveChain1")->trigger();
        }
        QCOMPARE(RecentChains(markov), (QStringList{chain(10), chain(9), chain(8), chain(7),
                                                    chain(6), chain(5), chain(4), chain(3)}));

        boxes_->fileName = chain(5);
        Child<QAction>(markov.fileMenu(), "OpenChain1")->trigger();
        ChooseRecentChain(markov, chain(3));
        QCOMPARE(Child<TStringGrid>(dialog, "sgOvergangsMatrix")->rowCount(), 3);
        QCOMPARE(RecentChains(markov), (QStringList{chain(3), chain(5), chain(10), chain(9),
                                                    chain(8), chain(7), chain(6), chain(4)}));
        QVERIFY(boxes_->requests.empty());

        QVERIFY(QFile::remove(chain(8)));
        ChooseRecentChain(markov, chain(8));
        QCOMPARE(boxes_->texts(), QStringList{"The chain file " + chain(8) +
                                              " no longer exists.\n\nIt is taken off the list "
                                              "of recent chains."});
        QCOMPARE(boxes_->requests[0].kind, DialogKind::Error);
        QCOMPARE(Child<TStringGrid>(dialog, "sgOvergangsMatrix")->rowCount(), 3);
        QCOMPARE(RecentChains(markov), (QStringList{chain(3), chain(5), chain(10), chain(9),
                                                    chain(7), chain(6), chain(4)}));
        store_->sync();  // and so it stays
        QSettings reread(iniFile(), QSettings::IniFormat);
        QCOMPARE(AppSettings(reread).recentChains().size(), 7);
    }

    // "Reset Settings..." asks first; the next session then starts as the first one did, the
    // windows open at the time included. --reset-settings forgets before any window opens, and
    // what that session does is remembered again.
    void resetForgetsEverything() {
        start();
        PelmoMain->StartQueueClick();
        Find<MultiRowTabWidget>("PageControl")->setCurrentIndex(5);
        Find<QLineEdit>("MMC_C_edit")->setText("3");
        settings_->addRecentChain(dir_.filePath("chain.txt"));
        quit();

        newSession();
        start();
        auto* reset = Find<QAction>("ResetSettings1");
        reset->trigger();  // No
        QVERIFY(!store_->allKeys().isEmpty());
        boxes_->answer(DialogButton::Yes);
        reset->trigger();
        QCOMPARE(boxes_->requests.last().title, QString("Reset Settings"));
        QCOMPARE(boxes_->requests.last().kind, DialogKind::Confirm);
        QCOMPARE(store_->allKeys(), QStringList());
        PelmoMain->StartQueueClick();
        Find<MultiRowTabWidget>("PageControl")->setCurrentIndex(6);
        quit();

        newSession();
        start();
        QVERIFY(PelmoMain->isMaximized());
        PelmoMain->StartQueueClick();
        QCOMPARE(Find<MultiRowTabWidget>("PageControl")->currentIndex(), kMdcTab);
        QCOMPARE(Text("MMC_C_edit"), QString());
        QVERIFY(settings_->recentChains().isEmpty());
        quit();

        QVERIFY(ReadProgramOptions({"wachtrix", "--reset-settings"}).resetSettings);
        QVERIFY(!ReadProgramOptions({"wachtrix"}).resetSettings);
        QVERIFY(store_->contains("QueueWindow/tab"));
        newSession();
        settings_->clear();
        start();
        quit();
        newSession();
        QVERIFY(!store_->contains("QueueWindow/tab"));
        QVERIFY(store_->contains("MainWindow/geometry"));
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"

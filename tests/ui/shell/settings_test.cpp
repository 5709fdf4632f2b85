// What the program remembers from one session to the next: the windows come back as they were
// left, a broken settings file costs only its broken values, the recent chains, and forgetting
// it all. Each session reads the settings afresh from an INI file of the test's own.

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ui/common/app_settings.h"
#include "ui/common/radio_group.h"
#include "ui/common/ui_test_support.h"
#include "ui/markov/markov_keuze_dialoog.h"
#include "ui/markov/markov_window.h"
#include "ui/markov/spin_edit.h"
#include "ui/markov/string_grid.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/queue_main_form.h"
#include "ui/shell/pelmo_main.h"
#include "ui/shell/wachtrix_application.h"

using wachtrix::testing::Child;
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

TMarkovKeuzeDialoog* MarkovDialog() {
    return Child<TMarkovKeuzeDialoog>(PelmoMain, "MarkovKeuzeDialoog");
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
    emit markov.fileMenu()->aboutToShow();
    for (QAction* item : Child<QAction>(markov.fileMenu(), "RecentChains1")->menu()->actions())
        if (item->data().toString() == file) {
            item->trigger();
            return;
        }
    qFatal("%s is not a recent chain", qPrintable(file));
}

}  // namespace

class SettingsTest : public QObject {
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
        TMarkovKeuzeDialoog* dialog = MarkovDialog();
        return QTest::qWaitFor([dialog] { return dialog->isVisible(); }) ? dialog : nullptr;
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
        settings_.reset();
        store_.reset();
        boxes_.reset();
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
        dialog = MarkovDialog();
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
            QSettings broken(iniFile(), QSettings::IniFormat);
            broken.setValue("MainWindow/geometry", QByteArray("not a geometry"));
            broken.setValue("QueueWindow/tab", "fifth");
            broken.setValue("QueueWindow/inputs/MMC_C_edit", "2");
            broken.setValue("QueueWindow/inputs/MMC_Rho_edit", QStringList{"0.25", "0.5"});
            broken.setValue("QueueWindow/inputs/MMC_Output_RadioGroup", 9);
            broken.setValue("QueueWindow/inputs/MM1_Rho_edit", QPoint(1, 2));
            broken.setValue("QueueWindow/inputs/MDC_C_edit", "4");
            broken.setValue("MarkovDialog/geometry", 12);
            broken.setValue("MarkovDialog/inputs/cbSoortMarkovChain", "1");
            broken.setValue("MarkovDialog/inputs/EditAantalStates", "1000");
            broken.setValue("MarkovDialog/inputs/seTimePoints", -3);
            broken.setValue("MarkovDialog/inputs/rgSoort", true);
            broken.setValue("MarkovDialog/inputs/EditInitialState", "2");
            broken.setValue("Folders/open", dir_.filePath("gone"));
            broken.setValue("Folders/save", QRect(1, 2, 3, 4));
            broken.setValue("Folders/export", dir_.path());
            // A list that claims far more entries than it has, one of them not a name.
            broken.setValue("RecentChains/size", 100000000);
            broken.setValue("RecentChains/1/file", chainA);
            broken.setValue("RecentChains/2/file", QByteArray("b.txt"));
            broken.setValue("RecentChains/3/file", chainC);
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

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"

#pragma once
// The main window: an MDI frame that offers the Queue, Markov and Networks modules, one at a time,
// and shows the background picture while neither is open. Given settings, it opens where it was
// last closed and hands them on to the modules.

#include <QMainWindow>
#include <QPointer>
#include <QString>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolButton;

namespace wachtrix::ui {

class AppSettings;
class ModuleWindow;
class TInfoForm;

class TPelmoMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TPelmoMain(QWidget* parent = nullptr, AppSettings* settings = nullptr);
    ~TPelmoMain() override;

    bool ModuleOpen = false;
    bool MarkovOpen = false;
    QString ProgramFolder;  // the running program's folder, ending in "/"

    void StartQueueClick();
    void SpeedButton1Click();
    void StartNetworksClick();
    void Exit1Click();
    void ResetSettingsClick();  // asks, then forgets what the sessions remembered
    void AboutClick();

    // Shows the window as it was when it last closed, or maximized.
    void showRestored();

    TInfoForm* InfoForm() const;  // the background picture, null while a module is open
    QWidget* module() const;      // the open module window, null while none is

protected:
    void closeEvent(QCloseEvent* event) override;  // FormCloseQuery

private:
    QWidget* buildButtonBar();
    void buildMenus();
    void buildStatusBar();
    void createInfoForm();
    void closeInfoForm();
    void openModule(QWidget* module, ModuleWindow& menus);
    void moduleClosed();

    QMdiArea* mdiArea_;
    QWidget* Panel1 = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* modulesMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* helpContents_ = nullptr;
    QAction* about_ = nullptr;
    AppSettings* settings_;
    QLabel* statusPanel0_ = nullptr;
    QPointer<TInfoForm> infoForm_;
    QPointer<QMdiSubWindow> moduleWindow_;
    QMetaObject::Connection moduleGone_;
};

// The program's main window; null before it is created.
extern TPelmoMain* PelmoMain;

}  // namespace wachtrix::ui

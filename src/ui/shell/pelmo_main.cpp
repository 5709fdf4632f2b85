#include "ui/shell/pelmo_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/common/app_settings.h"
#include "ui/common/dialogs.h"
#include "ui/common/help.h"
#include "ui/common/module_window.h"
#include "ui/common/resources.h"
#include "ui/markov/markov_window.h"
#include "ui/network/network_window.h"
#include "ui/queue/queue_main_form.h"
#include "ui/shell/about_box.h"
#include "ui/shell/info_form.h"

namespace wachtrix::ui {

TPelmoMain* PelmoMain = nullptr;

namespace {

constexpr int kButtonBarHeight = 55;
constexpr int kModuleButtonSize = 35;
constexpr int kStatusPanel0Width = 350;
const char* const kSettingsKey = "MainWindow";

QToolButton* ModuleButton(const QString& name, const QString& picture, const QString& hint,
                          QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFixedSize(kModuleButtonSize, kModuleButtonSize);
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(kModuleButtonSize - 6, kModuleButtonSize - 6));
    button->setToolTip(hint);
    return button;
}

// A child of the MDI area without frame or title bar, filling the whole area.
QMdiSubWindow* AddFullChild(QMdiArea* area, QWidget* child) {
    QMdiSubWindow* window = area->addSubWindow(child, Qt::FramelessWindowHint);
    window->setSystemMenu(nullptr);  // no Ctrl+F4 past the module's own close steps
    window->showMaximized();
    return window;
}

}  // namespace

TPelmoMain::TPelmoMain(QWidget* parent, AppSettings* settings)
    : QMainWindow(parent), mdiArea_(new QMdiArea), settings_(settings) {
    EnsureResources();
    PelmoMain = this;
    setObjectName("PelmoMain");
    setWindowTitle("Wachtrix");
    setWindowIcon(QIcon(":/pictures/queue.svg"));
    ProgramFolder = QCoreApplication::applicationDirPath() + QDir::separator();

    mdiArea_->setObjectName("MdiArea");
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildButtonBar());
    layout->addWidget(mdiArea_, 1);
    setCentralWidget(client);
    buildMenus();
    buildStatusBar();
    createInfoForm();
}

TPelmoMain::~TPelmoMain() {
    // The module goes down with this window; its farewell must not rebuild what is going.
    disconnect(moduleGone_);
    if (PelmoMain == this) PelmoMain = nullptr;
}

QWidget* TPelmoMain::buildButtonBar() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(kButtonBarHeight);
    auto* queue = ModuleButton("StartQueue", ":/pictures/queue.svg", "Queue", Panel1);
    auto* markov = ModuleButton("SpeedButton1", ":/pictures/markov.svg", "Markov", Panel1);
    auto* networks = ModuleButton("StartNetworks", ":/pictures/networks.svg", "Networks", Panel1);
    connect(queue, &QToolButton::clicked, this, &TPelmoMain::StartQueueClick);
    connect(markov, &QToolButton::clicked, this, &TPelmoMain::SpeedButton1Click);
    connect(networks, &QToolButton::clicked, this, &TPelmoMain::StartNetworksClick);
    auto* layout = new QHBoxLayout(Panel1);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->addWidget(queue);
    layout->addWidget(markov);
    layout->addWidget(networks);
    layout->addStretch();
    return Panel1;
}

void TPelmoMain::buildMenus() {
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->menuAction()->setObjectName("File1");
    QAction* reset =
        fileMenu_->addAction("&Reset Settings...", this, &TPelmoMain::ResetSettingsClick);
    reset->setObjectName("ResetSettings1");
    reset->setEnabled(settings_ != nullptr);
    fileMenu_->addSeparator();
    fileMenu_->addAction("&Close Wachtrix", this, &TPelmoMain::Exit1Click)->setObjectName("Exit1");
    modulesMenu_ = menuBar()->addMenu("&Modules");
    modulesMenu_->menuAction()->setObjectName("Modules1");
    modulesMenu_->addAction("&Queue", this, &TPelmoMain::StartQueueClick)->setObjectName("Queue1");
    modulesMenu_->addAction("Markov Chains", this, &TPelmoMain::SpeedButton1Click)
        ->setObjectName("MarkovChains1");
    modulesMenu_->addAction("&Networks", this, &TPelmoMain::StartNetworksClick)
        ->setObjectName("Networks1");
    helpMenu_ = menuBar()->addMenu("&Help");
    helpMenu_->menuAction()->setObjectName("Help1");
    helpContents_ =
        helpMenu_->addAction("&Help content", this, [this] { ShowHelpContext(0, this); });
    helpContents_->setObjectName("HelpContents1");
    helpContents_->setShortcuts(QKeySequence::HelpContents);
    helpMenu_->addSeparator();
    about_ = helpMenu_->addAction("&About Wachtrix...", this, &TPelmoMain::AboutClick);
    about_->setObjectName("About1");
}

void TPelmoMain::buildStatusBar() {
    statusPanel0_ = new QLabel(this);
    statusPanel0_->setObjectName("StatusPanel0");
    statusPanel0_->setFixedWidth(kStatusPanel0Width);
    statusPanel0_->clear();
    auto* notice =
        new QLabel("Wachtrix " + ProgramVersion() + " - queueing models and Markov chains", this);
    notice->setObjectName("StatusPanel1");
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addWidget(statusPanel0_);
    statusBar()->addPermanentWidget(notice);
}

void TPelmoMain::createInfoForm() {
    infoForm_ = new TInfoForm;
    AddFullChild(mdiArea_, infoForm_);
}

void TPelmoMain::closeInfoForm() {
    if (!infoForm_) return;
    // Deleted at once, with its frame, so that the module is the only child from here on.
    QWidget* holder = infoForm_->parentWidget();
    delete (qobject_cast<QMdiSubWindow*>(holder) ? holder : infoForm_.data());
}

TInfoForm* TPelmoMain::InfoForm() const {
    return infoForm_;
}

QWidget* TPelmoMain::module() const {
    return moduleWindow_ ? moduleWindow_->widget() : nullptr;
}

void TPelmoMain::StartQueueClick() {
    if (ModuleOpen) return;
    auto* queue = new TQueueMainForm(nullptr, settings_);
    openModule(queue, *queue);
}

void TPelmoMain::SpeedButton1Click() {
    if (ModuleOpen) return;
    auto* markov = new TMarkov(nullptr, settings_);
    MarkovOpen = true;
    openModule(markov, *markov);
}

void TPelmoMain::StartNetworksClick() {
    if (ModuleOpen) return;
    auto* networks = new TNetworks(nullptr, settings_);
    openModule(networks, *networks);
}

void TPelmoMain::openModule(QWidget* module, ModuleWindow& menus) {
    Panel1->hide();
    closeInfoForm();
    ModuleOpen = true;

    // The module's "&File" takes the place of the main one, "&Modules" is not offered, and the
    // module's "&Window" and "&Help" come last.
    menuBar()->insertMenu(fileMenu_->menuAction(), menus.fileMenu());
    if (QMenu* edit = menus.editMenu()) menuBar()->insertMenu(fileMenu_->menuAction(), edit);
    fileMenu_->menuAction()->setVisible(false);
    modulesMenu_->menuAction()->setVisible(false);
    // The module's help takes the place of the main one, which leaves its key to the module;
    // the about box stays within reach.
    helpMenu_->menuAction()->setVisible(false);
    helpContents_->setEnabled(false);
    if (QMenu* windows = menus.windowMenu()) menuBar()->addMenu(windows);
    menuBar()->addMenu(menus.helpMenu());
    menus.helpMenu()->addSeparator();
    menus.helpMenu()->addAction(about_);

    moduleWindow_ = AddFullChild(mdiArea_, module);
    moduleGone_ = connect(module, &QObject::destroyed, this, &TPelmoMain::moduleClosed);
    module->setFocus();
}

void TPelmoMain::moduleClosed() {
    disconnect(moduleGone_);
    if (moduleWindow_) moduleWindow_->deleteLater();  // the frame the module leaves behind
    fileMenu_->menuAction()->setVisible(true);
    modulesMenu_->menuAction()->setVisible(true);
    helpMenu_->menuAction()->setVisible(true);
    helpContents_->setEnabled(true);
    Panel1->show();
    createInfoForm();
    ModuleOpen = false;
    MarkovOpen = false;
}

void TPelmoMain::Exit1Click() {
    close();
}

void TPelmoMain::ResetSettingsClick() {
    if (!settings_ ||
        Dialogs::show(this, DialogKind::Confirm, "Reset Settings",
                      "Forget the window places, the last inputs, the folders and the recent "
                      "chains?\n\nWachtrix starts as it did the first time when it is opened "
                      "next.") != DialogButton::Yes)
        return;
    settings_->reset();
}

void TPelmoMain::AboutClick() {
    TAboutBox about(this);
    about.exec();
}

void TPelmoMain::showRestored() {
    if (settings_ && settings_->restoreWindow(*this, kSettingsKey)) {
        show();
        return;
    }
    // The geometry also serves where no window manager maximizes.
    setGeometry(screen()->availableGeometry());
    showMaximized();
}

void TPelmoMain::closeEvent(QCloseEvent* event) {
    if (Dialogs::show(this, DialogKind::Confirm, "Confirm", "Do you want to close Wachtrix?") !=
        DialogButton::Yes) {
        event->ignore();
        return;
    }
    // The module runs its own close steps first, and may still refuse.
    if (ModuleOpen && moduleWindow_ && !moduleWindow_->close()) {
        event->ignore();
        return;
    }
    if (settings_) settings_->saveWindow(*this, kSettingsKey);
    event->accept();
}

}  // namespace wachtrix::ui

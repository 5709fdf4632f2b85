#include "ui/markov/markov_progress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace wachtrix::ui {
namespace {
TMarkovProgress* instance = nullptr;
}

TMarkovProgress::TMarkovProgress(QWidget* parent)
    : QDialog(parent),
      ProgressBar1(new QProgressBar(this)),
      StopBtn(new QPushButton("&Stop", this)) {
    setObjectName("MarkovProgress");
    setWindowTitle("Calculating...");
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The analyses let events through while they run; nothing else may start meanwhile.
    setWindowModality(Qt::ApplicationModal);

    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(280);
    StopBtn->setObjectName("StopBtn");
    StopBtn->setAutoDefault(false);
    connect(StopBtn, &QPushButton::clicked, this, &TMarkovProgress::StopBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(StopBtn);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
}

void TMarkovProgress::ResetProgress() {
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
}

void TMarkovProgress::ShowOver(QWidget* starter) {
    QWidget* over = starter          ? starter->window()
                    : parentWidget() ? parentWidget()->window()
                                     : nullptr;
    if (over) {
        // A window stays above its transient parent, whichever of the two was clicked last.
        winId();
        over->winId();
        windowHandle()->setTransientParent(over->windowHandle());
    }
    show();
    raise();
}

void TMarkovProgress::SetPosition(int position) {
    ProgressBar1->setValue(position);
}

int TMarkovProgress::Position() const {
    return ProgressBar1->value();
}

void TMarkovProgress::StopBtnClick() {
    stopRequested_ = true;
}

void TMarkovProgress::closeEvent(QCloseEvent* event) {
    StopBtnClick();
    event->ignore();
}

void TMarkovProgress::reject() {
    StopBtnClick();
}

void TMarkovProgress::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

bool TMarkovProgress::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowDeactivate && Running()) {
        raise();
        activateWindow();
    }
    return handled;
}

bool TMarkovProgress::Running() const {
    return isVisible() && !stopRequested_ && ProgressBar1->value() < ProgressBar1->maximum();
}

TMarkovProgress* MarkovProgress() {
    return instance;
}
void SetMarkovProgress(TMarkovProgress* progress) {
    instance = progress;
}

void MarkovProgressRun::reset() {
    if (dialog_) dialog_->ResetProgress();
}
void MarkovProgressRun::show() {
    if (dialog_) dialog_->ShowOver(starter_);
}
void MarkovProgressRun::position(int percent) {
    if (dialog_) dialog_->SetPosition(percent);
}
void MarkovProgressRun::processEvents() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs) return;
    QCoreApplication::processEvents();
    sinceEvents_.start();
}
bool MarkovProgressRun::stopRequested() const {
    return dialog_ && dialog_->StopRequested();
}
void MarkovProgressRun::hide() {
    if (dialog_) dialog_->hide();
}

}  // namespace wachtrix::ui

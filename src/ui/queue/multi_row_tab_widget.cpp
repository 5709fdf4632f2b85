#include "ui/queue/multi_row_tab_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QVBoxLayout>

namespace wachtrix::ui {
namespace {
constexpr int kHorizontalPadding = 10;
constexpr int kVerticalPadding = 10;
}  // namespace

MultiRowTabBar::MultiRowTabBar(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);  // hot tracking
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int MultiRowTabBar::addTab(const QString& text) {
    texts_ << text;
    rects_ = layoutTabs(width());
    if (current_ < 0) current_ = 0;
    updateGeometry();
    update();
    return count() - 1;
}

void MultiRowTabBar::setCurrentIndex(int index) {
    if (index < 0 || index >= count() || index == current_) return;
    current_ = index;
    update();
    emit currentChanged(index);
}

QRect MultiRowTabBar::tabRect(int index) const {
    return rects_.value(index);
}

int MultiRowTabBar::rowCount() const {
    QList<int> tops;
    for (const QRect& r : rects_)
        if (!tops.contains(r.top())) tops << r.top();
    return static_cast<int>(tops.size());
}

int MultiRowTabBar::tabWidth(int index) const {
    return fontMetrics().horizontalAdvance(texts_[index]) + 2 * kHorizontalPadding;
}

int MultiRowTabBar::tabHeight() const {
    return fontMetrics().height() + kVerticalPadding;
}

QList<QRect> MultiRowTabBar::layoutTabs(int width) const {
    // Greedy rows, each stretched to the full width. The rows keep their places whichever tab is
    // current (the selected tab is only drawn raised): rows that turned round to bring the
    // current one next to the page moved every tab away from under the pointer.
    QList<QList<int>> rows;
    for (int i = 0; i < count(); ++i) {
        int used = 0;
        if (!rows.isEmpty())
            for (int j : rows.last())
                used += tabWidth(j);
        if (rows.isEmpty() || used + tabWidth(i) > width) rows.append(QList<int>());
        rows.last().append(i);
    }

    QList<QRect> rects(count());
    int top = 0;
    for (const QList<int>& row : rows) {
        int used = 0;
        for (int i : row)
            used += tabWidth(i);
        const int spare = std::max(0, width - used);
        const int tabs = static_cast<int>(row.size());
        int left = 0;
        for (int k = 0; k < tabs; ++k) {
            const int w = tabWidth(row[k]) + spare / tabs + (k < spare % tabs ? 1 : 0);
            rects[row[k]] = QRect(left, top, w, tabHeight());
            left += w;
        }
        top += tabHeight();
    }
    return rects;
}

int MultiRowTabBar::heightForWidth(int width) const {
    int bottom = tabHeight();
    for (const QRect& r : layoutTabs(width))
        bottom = std::max(bottom, r.bottom() + 1);
    return bottom;
}

QSize MultiRowTabBar::sizeHint() const {
    int oneRow = 0;
    for (int i = 0; i < count(); ++i)
        oneRow += tabWidth(i);
    return QSize(oneRow, tabHeight());
}

QSize MultiRowTabBar::minimumSizeHint() const {
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, tabWidth(i));
    return QSize(widest, heightForWidth(widest));
}

void MultiRowTabBar::resizeEvent(QResizeEvent*) {
    rects_ = layoutTabs(width());
}

int MultiRowTabBar::tabAt(const QPoint& pos) const {
    for (int i = 0; i < rects_.size(); ++i)
        if (rects_[i].contains(pos)) return i;
    return -1;
}

void MultiRowTabBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int index = tabAt(event->position().toPoint());
    if (index >= 0) setCurrentIndex(index);
}

void MultiRowTabBar::mouseMoveEvent(QMouseEvent* event) {
    const int index = tabAt(event->position().toPoint());
    if (index != hover_) {
        hover_ = index;
        update();
    }
}

void MultiRowTabBar::leaveEvent(QEvent*) {
    hover_ = -1;
    update();
}

void MultiRowTabBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            setCurrentIndex(std::max(0, current_ - 1));
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            setCurrentIndex(std::min(count() - 1, current_ + 1));
            break;
        case Qt::Key_Home:
            setCurrentIndex(0);
            break;
        case Qt::Key_End:
            setCurrentIndex(count() - 1);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void MultiRowTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    // The selected tab is drawn last so that its raised edges lie on top of its neighbours.
    QList<int> order;
    for (int i = 0; i < count(); ++i)
        if (i != current_) order << i;
    if (current_ >= 0) order << current_;

    for (int i : order) {
        QStyleOptionTab option;
        option.initFrom(this);
        option.shape = QTabBar::RoundedNorth;
        option.rect = rects_.value(i);
        option.text = texts_[i];
        option.row = 0;
        const bool rowStart = option.rect.left() == 0;
        const bool rowEnd = option.rect.right() >= width() - 1;
        option.position = rowStart && rowEnd ? QStyleOptionTab::OnlyOneTab
                          : rowStart         ? QStyleOptionTab::Beginning
                          : rowEnd           ? QStyleOptionTab::End
                                             : QStyleOptionTab::Middle;
        option.state &=
            ~(QStyle::State_Selected | QStyle::State_MouseOver | QStyle::State_HasFocus);
        if (i == current_) option.state |= QStyle::State_Selected;
        if (i == hover_) option.state |= QStyle::State_MouseOver;
        // A style may paint a selected tab beyond its rectangle, over the row below.
        painter.setClipRect(option.rect);
        painter.drawControl(QStyle::CE_TabBarTab, option);
        painter.setClipping(false);
        if (i == current_ && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = option.rect.adjusted(4, 4, -4, -3);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
}

MultiRowTabWidget::MultiRowTabWidget(QWidget* parent)
    : QWidget(parent), bar_(new MultiRowTabBar(this)), stack_(new QStackedWidget(this)) {
    bar_->setObjectName("PageControlTabs");
    stack_->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar_);
    layout->addWidget(stack_, 1);
    connect(bar_, &MultiRowTabBar::currentChanged, this, [this](int index) {
        stack_->setCurrentIndex(index);
        emit currentChanged(index);
    });

    setKeyboardScope(this);
}

void MultiRowTabWidget::setKeyboardScope(QWidget* scope) {
    qDeleteAll(shortcuts_);
    shortcuts_.clear();
    const auto step = [this](int delta) {
        if (count() > 0) setCurrentIndex((currentIndex() + delta + count()) % count());
    };
    const auto bind = [this, scope](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, scope);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
        shortcuts_ << shortcut;
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Tab), [step] { step(1); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [step] { step(1); });
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [step] { step(-1); });
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [step] { step(-1); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [step] { step(-1); });
}

int MultiRowTabWidget::addPage(QWidget* page, const QString& caption) {
    stack_->addWidget(page);
    return bar_->addTab(caption);
}

int MultiRowTabWidget::count() const {
    return bar_->count();
}
int MultiRowTabWidget::currentIndex() const {
    return bar_->currentIndex();
}
void MultiRowTabWidget::setCurrentIndex(int index) {
    bar_->setCurrentIndex(index);
}
QWidget* MultiRowTabWidget::currentWidget() const {
    return stack_->currentWidget();
}
QWidget* MultiRowTabWidget::widget(int index) const {
    return stack_->widget(index);
}

}  // namespace wachtrix::ui

#include "ui/common/radio_group.h"

#include <QButtonGroup>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

namespace wachtrix::ui {
namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
}

WrapRadioButton::WrapRadioButton(const QString& text, QWidget* parent)
    : QRadioButton(text, parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int WrapRadioButton::textLeft() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this) +
           style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this) + 2;
}

QRect WrapRadioButton::textRect(int width) const {
    const int left = textLeft();
    const int available = std::max(1, width - left);
    const QRect bound =
        fontMetrics().boundingRect(QRect(0, 0, available, 100000), kTextFlags, text());
    return QRect(left, 1, available, bound.height());
}

QSize WrapRadioButton::sizeHint() const {
    const int oneLine = fontMetrics().horizontalAdvance(text());
    return QSize(textLeft() + oneLine + 2, heightForWidth(textLeft() + oneLine + 2));
}

QSize WrapRadioButton::minimumSizeHint() const {
    // Wide enough for the longest word; the height follows from heightForWidth.
    int widest = 0;
    for (const QString& word : text().split(' ', Qt::SkipEmptyParts))
        widest = std::max(widest, fontMetrics().horizontalAdvance(word));
    return QSize(textLeft() + widest + 2, heightForWidth(textLeft() + widest + 2));
}

int WrapRadioButton::heightForWidth(int width) const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, this);
    return std::max(indicator, textRect(width).height()) + 2;
}

bool WrapRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void WrapRadioButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();

    // The indicator sits beside the first line of the caption.
    QRect indicator = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    const int firstLine = fontMetrics().height();
    indicator.moveTop(1 + std::max(0, (firstLine - indicator.height()) / 2));
    option.rect = indicator;
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, option);

    const QRect text = textRect(width());
    painter.drawItemText(text, kTextFlags, palette(), isEnabled(), caption, QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics()
                         .boundingRect(text, kTextFlags, caption)
                         .adjusted(-1, 0, 1, 1)
                         .intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

RadioGroup::RadioGroup(const QString& objectName, const QString& title, const QStringList& items,
                       QWidget* parent)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this)) {
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->setContentsMargins(8, 4, 8, 6);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new WrapRadioButton(items[i], this);
        button->setObjectName(QString("%1_Item%2").arg(objectName).arg(i));
        buttons_->addButton(button, i);
        layout->addWidget(button);
    }
    if (!items.isEmpty()) buttons_->button(0)->setChecked(true);
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) emit itemIndexChanged(id);
    });
}

int RadioGroup::itemIndex() const {
    return buttons_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* button = buttons_->button(index)) button->setChecked(true);
}

int RadioGroup::count() const {
    return static_cast<int>(buttons_->buttons().size());
}

QRadioButton* RadioGroup::item(int index) const {
    return qobject_cast<QRadioButton*>(buttons_->button(index));
}

}  // namespace wachtrix::ui

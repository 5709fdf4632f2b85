#include "ui/shell/info_form.h"

#include <QPainter>

#include "ui/common/resources.h"

namespace wachtrix::ui {

TInfoForm::TInfoForm(QWidget* parent) : QWidget(parent) {
    EnsureResources();
    setObjectName("InfoForm");
    setWindowTitle("Wachtrix");
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0, 128, 255));
    setPalette(colours);
    picture_.load(":/pictures/background.jpg", "JPEG");
}

bool TInfoForm::hasPicture() const {
    return !picture_.isNull();
}

void TInfoForm::paintEvent(QPaintEvent*) {
    // Stretched over the whole client area.
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
}

}  // namespace wachtrix::ui

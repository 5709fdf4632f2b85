#include "ui/markov/spin_edit.h"

#include <QLineEdit>

namespace wachtrix::ui {

TSpinEdit::TSpinEdit(const QString& name, int minimum, int maximum, int value, QWidget* parent)
    : QSpinBox(parent) {
    setObjectName(name);
    setRange(minimum, maximum);
    setValue(value);
}

void TSpinEdit::setTypeable(bool typeable) {
    lineEdit()->setReadOnly(!typeable);
}

bool TSpinEdit::typeable() const {
    return !lineEdit()->isReadOnly();
}

}  // namespace wachtrix::ui

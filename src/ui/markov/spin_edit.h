#pragma once
// A spin edit whose value may be closed to typing, so that only the arrows change it.

#include <QSpinBox>

namespace wachtrix::ui {

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    TSpinEdit(const QString& name, int minimum, int maximum, int value, QWidget* parent = nullptr);

    void setTypeable(bool typeable);
    bool typeable() const;
};

}  // namespace wachtrix::ui

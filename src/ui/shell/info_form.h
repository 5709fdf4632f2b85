#pragma once
// The background picture shown in the main window while no module is open.

#include <QWidget>

namespace wachtrix::ui {

class TInfoForm : public QWidget {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget* parent = nullptr);
    bool hasPicture() const;  // the JPEG decoded

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace wachtrix::ui

#pragma once
// The choice groups of the windows: a titled box of radio items with an item index, like
//   RadioGroup("MMC_Output_RadioGroup", "Output", {"Standard Statistics", "Graphs"})
// starting on item 0. Long captions wrap within the box instead of being clipped.

#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

class QButtonGroup;

namespace wachtrix::ui {

// A radio button whose caption wraps onto further lines when its width runs short.
class WrapRadioButton : public QRadioButton {
    Q_OBJECT
public:
    explicit WrapRadioButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    int textLeft() const;  // where the caption starts, right of the indicator
    QRect textRect(int width) const;
};

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& objectName, const QString& title, const QStringList& items,
               QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    int count() const;
    QRadioButton* item(int index) const;

signals:
    // Whenever another item becomes the chosen one, by the user or by setItemIndex.
    void itemIndexChanged(int index);

private:
    QButtonGroup* buttons_;
};

}  // namespace wachtrix::ui

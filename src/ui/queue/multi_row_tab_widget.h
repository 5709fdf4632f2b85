#pragma once
// A tab set whose captions all stay visible: they are laid out in as many rows as the width
// needs (Qt's own tab bar scrolls instead), each row stretched to the full width. The rows stay
// where they are when another tab is chosen; the chosen tab is marked, not moved.

#include <QList>
#include <QStringList>
#include <QWidget>

class QShortcut;
class QStackedWidget;

namespace wachtrix::ui {

class MultiRowTabBar : public QWidget {
    Q_OBJECT
public:
    explicit MultiRowTabBar(QWidget* parent = nullptr);

    int addTab(const QString& text);
    int count() const { return static_cast<int>(texts_.size()); }
    QString tabText(int index) const { return texts_.value(index); }
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    QRect tabRect(int index) const;
    int rowCount() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int tabWidth(int index) const;
    int tabHeight() const;
    QList<QRect> layoutTabs(int width) const;  // one rectangle per tab
    int tabAt(const QPoint& pos) const;

    QStringList texts_;
    QList<QRect> rects_;
    int current_ = -1;
    int hover_ = -1;
};

// The tab bar above a stack of pages.
class MultiRowTabWidget : public QWidget {
    Q_OBJECT
public:
    explicit MultiRowTabWidget(QWidget* parent = nullptr);

    int addPage(QWidget* page, const QString& caption);
    int count() const;
    int currentIndex() const;
    void setCurrentIndex(int index);
    QWidget* currentWidget() const;
    QWidget* widget(int index) const;
    MultiRowTabBar* tabBar() const { return bar_; }

    // Ctrl+Tab and Ctrl+PgDn choose the next tab, Ctrl+Shift+Tab and Ctrl+PgUp the one before,
    // wrapping round, wherever the focus is within `scope` (at first the tab set itself).
    void setKeyboardScope(QWidget* scope);

signals:
    void currentChanged(int index);

private:
    MultiRowTabBar* bar_;
    QStackedWidget* stack_;
    QList<QShortcut*> shortcuts_;
};

}  // namespace wachtrix::ui

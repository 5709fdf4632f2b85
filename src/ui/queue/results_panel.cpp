#include "ui/queue/results_panel.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "chart/qt_look.h"

namespace wachtrix::ui {

QTextCharFormat ResultCharFormat(ResultTextStyle style, const QPalette& palette) {
    QTextCharFormat format;
    const bool dark = chart::IsDarkPalette(palette);
    const QColor plain = dark ? palette.color(QPalette::Text) : QColor(Qt::black);
    const QColor ink = style == ResultTextStyle::Title ? QColor(Qt::blue) : plain;
    // The blue and black of white paper; on a dark desktop the blue lightened to read.
    format.setForeground(dark ? chart::ReadableInk(ink, palette.color(QPalette::Base)) : ink);
    format.setFontWeight(style == ResultTextStyle::Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style == ResultTextStyle::Title);
    format.setFontUnderline(style == ResultTextStyle::Title || style == ResultTextStyle::Underline);
    return format;
}

ResultsPanel::ResultsPanel(QWidget* parent) : QTextEdit(parent) {
    setObjectName("Results");
    setReadOnly(true);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Liberation Mono has the metrics of Courier New, so the columns line up alike.
    QFont font;
    font.setFamilies({"Courier New", "Liberation Mono"});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(9);
    setFont(font);
    if (!chart::IsDarkPalette(palette())) {
        QPalette colours = palette();
        colours.setColor(QPalette::Text, Qt::black);
        setPalette(colours);
    }
}

void ResultsPanel::addLine(const std::string& text, ResultTextStyle style) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const QTextCharFormat format = ResultCharFormat(style, palette());
    if (lines_ > 0) cursor.insertBlock();
    cursor.setCharFormat(format);
    cursor.insertText(QString::fromStdString(text), format);
    ++lines_;

    // Into view, at the start of the line, without moving the keyboard focus.
    cursor.movePosition(QTextCursor::StartOfBlock);
    setTextCursor(cursor);
    ensureCursorVisible();
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

void ResultsPanel::clearLines() {
    clear();
    lines_ = 0;
}

}  // namespace wachtrix::ui

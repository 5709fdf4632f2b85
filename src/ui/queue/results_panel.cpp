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
    cursor.block().setUserState(static_cast<int>(style));
    ++lines_;

    // Into view, at the start of the line, without moving the keyboard focus.
    cursor.movePosition(QTextCursor::StartOfBlock);
    setTextCursor(cursor);
    ensureCursorVisible();
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

std::unique_ptr<QTextDocument> ResultsPanel::paperDocument() const {
    std::unique_ptr<QTextDocument> paper(document()->clone());
    paper->setDefaultFont(document()->defaultFont());
    if (!chart::IsDarkPalette(palette())) return paper;
    QPalette white;
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    // The styles are the panel's blocks' states, line by line alike in the copy.
    QTextBlock from = document()->begin();
    for (QTextBlock b = paper->begin(); b.isValid() && from.isValid();
         b = b.next(), from = from.next()) {
        const auto style = from.userState() < 0 ? ResultTextStyle::Normal
                                                : static_cast<ResultTextStyle>(from.userState());
        QTextCursor line(b);
        line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat ink;
        ink.setForeground(ResultCharFormat(style, white).foreground());
        line.mergeCharFormat(ink);
    }
    return paper;
}

void ResultsPanel::clearLines() {
    clear();
    lines_ = 0;
}

}  // namespace wachtrix::ui

#pragma once
// The Results panel of the queue window: a read-only fixed-pitch text in which every report line
// is appended in its style (Title blue italic underlined, Bold, Underline, Normal; lightened on
// a dark desktop) and scrolled into view, without taking the focus from where the user is.

#include <QTextCharFormat>
#include <QTextEdit>
#include <memory>

#include "core/text/result_writer.h"

namespace wachtrix::ui {

// The style's format on a panel of this palette.
QTextCharFormat ResultCharFormat(ResultTextStyle style, const QPalette& palette);

class ResultsPanel : public QTextEdit, public ResultSink {
    Q_OBJECT
public:
    explicit ResultsPanel(QWidget* parent = nullptr);

    // AddResultLine's end: the text as a new last line, styled; an empty text is an empty line.
    void addLine(const std::string& text, ResultTextStyle style) override;

    // The lines in their colours on white paper, whatever the desktop's: for saving and printing.
    std::unique_ptr<QTextDocument> paperDocument() const;

    // Empties the panel.
    void clearLines();

private:
    int lines_ = 0;
};

}  // namespace wachtrix::ui

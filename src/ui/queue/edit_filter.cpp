#include "ui/queue/edit_filter.h"

#include <QLineEdit>

namespace wachtrix::ui {

FilteredText FilterText(const QString& text, int caret, QStringView allowed) {
    FilteredText result{QString(), caret};
    result.text.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (allowed.contains(text[i]))
            result.text += text[i];
        else if (i < caret)
            --result.caret;
    }
    return result;
}

void FilterEditText(QLineEdit* edit, QStringView allowed) {
    const FilteredText filtered = FilterText(edit->text(), edit->cursorPosition(), allowed);
    if (filtered.text == edit->text()) return;
    edit->setText(filtered.text);
    edit->setCursorPosition(filtered.caret);
}

}  // namespace wachtrix::ui

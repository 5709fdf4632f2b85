#include "ui/queue/edit_filter.h"

#include <QLineEdit>
#include <QToolTip>
#include <algorithm>

namespace wachtrix::ui {
namespace {

// Keeps the characters `keep` accepts, in order; `keep` sees the text kept so far and may
// rewrite the character it accepts.
template <class Keep>
FilteredText Filter(const QString& text, int caret, Keep keep) {
    FilteredText result{QString(), caret, false};
    result.text.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (keep(result.text, c)) {
            result.text += c;
        } else {
            result.dropped = true;
            if (i < caret) --result.caret;
        }
    }
    return result;
}

bool IsDigit(QChar c) {
    return c >= '0' && c <= '9';
}

}  // namespace

FilteredText FilterReal(const QString& text, int caret) {
    return Filter(text, caret, [](const QString& kept, QChar& c) {
        const bool exponent = kept.contains('e', Qt::CaseInsensitive);
        if (IsDigit(c)) return true;
        // A comma-decimal user types a comma for the point.
        if (c == ',') c = '.';
        if (c == '.') return !exponent && !kept.contains('.');
        if (c == 'e' || c == 'E')
            return !exponent && std::any_of(kept.begin(), kept.end(), IsDigit);
        if (c == '-' || c == '+') return kept.endsWith('e', Qt::CaseInsensitive);
        return false;
    });
}

FilteredText FilterInteger(const QString& text, int caret) {
    return Filter(text, caret, [](const QString&, QChar c) { return IsDigit(c); });
}

void FilterEditText(QLineEdit* edit, EditFilter filter) {
    if (filter == EditFilter::None) return;
    const bool real = filter == EditFilter::Real;
    const FilteredText filtered = real ? FilterReal(edit->text(), edit->cursorPosition())
                                       : FilterInteger(edit->text(), edit->cursorPosition());
    if (filtered.dropped) {
        // Beside the edit, so that a dropped key is never a silent change.
        QToolTip::showText(edit->mapToGlobal(QPoint(edit->width(), 0)),
                           real ? kRealHint : kIntegerHint, edit);
    }
    if (filtered.text == edit->text()) return;
    edit->setText(filtered.text);
    edit->setCursorPosition(filtered.caret);
}

}  // namespace wachtrix::ui

#pragma once
// What may be typed into the number fields of the queue tabs. A character that is not allowed is
// dropped as it is typed or pasted, and the caret stays after the last kept character:
//
//   FilterText("1e", 2, RealChars) -> {"1", 1}
//   FilterText("-2", 2, IntChars)  -> {"2", 1}

#include <QString>
#include <QStringView>

class QLineEdit;

namespace wachtrix::ui {

// How a number field filters what is typed: real or whole numbers, or not at all.
enum class EditFilter { Real, Integer, None };

inline constexpr QStringView RealChars = u"0123456789.";
inline constexpr QStringView IntChars = u"0123456789";

struct FilteredText {
    QString text;
    int caret = 0;
    bool operator==(const FilteredText&) const = default;
};

// Every character not in `allowed` is removed; for each removed character before the caret the
// caret moves one to the left.
FilteredText FilterText(const QString& text, int caret, QStringView allowed);

// Applies FilterText to the edit's text and caret; leaves the edit alone when nothing changes.
void FilterEditText(QLineEdit* edit, QStringView allowed);

}  // namespace wachtrix::ui

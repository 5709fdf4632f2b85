#pragma once
// What may be typed into the number fields of the queue tabs. Whole numbers take digits only;
// real numbers take digits, one decimal point and an exponent ("1e-3", "2.5E-4"), and a comma
// is the decimal point when there is none yet. Anything else is dropped as it is typed or
// pasted, the caret staying after the last kept character, and the field says what it takes:
//
//   FilterReal("0,5", 3)    -> {"0.5", 3}
//   FilterReal("1e-3", 4)   -> {"1e-3", 4}
//   FilterReal("1.5.", 4)   -> {"1.5", 3, dropped}
//   FilterInteger("-2", 2)  -> {"2", 1, dropped}

#include <QString>

class QLineEdit;

namespace wachtrix::ui {

// How a number field filters what is typed: real or whole numbers, or not at all.
enum class EditFilter { Real, Integer, None };

// The hint a field shows when it drops a character.
inline constexpr const char* kRealHint = "Digits, one decimal point and an exponent (1e-3)";
inline constexpr const char* kIntegerHint = "Digits only";

struct FilteredText {
    QString text;
    int caret = 0;
    bool dropped = false;  // a character was left out
    bool operator==(const FilteredText&) const = default;
};

// For each removed character before the caret the caret moves one to the left.
FilteredText FilterReal(const QString& text, int caret);
FilteredText FilterInteger(const QString& text, int caret);

// Applies the filter to the edit's text and caret; leaves the edit alone when nothing changes,
// and shows the hint beside it when a character was dropped.
void FilterEditText(QLineEdit* edit, EditFilter filter);

}  // namespace wachtrix::ui

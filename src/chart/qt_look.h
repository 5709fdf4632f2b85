#pragma once
// The chart's colours, fonts and pen styles as Qt draws them; the one place they are converted.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

#include "chart/chart_settings.h"

namespace wachtrix::chart {

// 0x00BBGGRR -> QColor(RR, GG, BB)
QColor ToQColor(TColor color);

// The WCAG contrast ratio of two colours: 1 (alike) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// True when text is drawn light on dark: the palette's Base is darker than its Text.
bool IsDarkPalette(const QPalette& palette);

// Colours chosen for white paper, made to suit a dark ground: a background keeps its hue with
// its lightness turned over (light grey -> dark grey); ink keeps its hue and is lightened until
// it reads at 4.5:1 or better on `ground` (black -> white, blue -> light blue).
QColor DarkGround(const QColor& background);
QColor ReadableInk(const QColor& ink, const QColor& ground);

// Pixel-sized (points at 96 per inch), so a chart lays out alike on every screen. Arial falls
// back to its metric twins when it is not installed.
QFont ToQFont(const TFont& font);

// 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot; anything else solid.
Qt::PenStyle ToPenStyle(int style);

// The label of a time-axis tick (days since 30 December 1899) in a "dd-mmm" style format.
QString TimeLabel(double days, const std::string& dateTimeFormat);

}  // namespace wachtrix::chart

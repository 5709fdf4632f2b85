#pragma once
// The chart's colours, fonts and pen styles as Qt draws them; the one place they are converted.

#include <QColor>
#include <QFont>
#include <QString>

#include "chart/chart_settings.h"

namespace wachtrix::chart {

// 0x00BBGGRR -> QColor(RR, GG, BB)
QColor ToQColor(TColor color);

// Pixel-sized (points at 96 per inch), so a chart lays out alike on every screen. Arial falls
// back to its metric twins when it is not installed.
QFont ToQFont(const TFont& font);

// 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot; anything else solid.
Qt::PenStyle ToPenStyle(int style);

// The label of a time-axis tick (days since 30 December 1899) in a "dd-mmm" style format.
QString TimeLabel(double days, const std::string& dateTimeFormat);

}  // namespace wachtrix::chart

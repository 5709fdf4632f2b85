#include "chart/qt_look.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace wachtrix::chart {

QColor ToQColor(TColor color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

QFont ToQFont(const TFont& font) {
    QFont f;
    f.setFamilies({QString::fromStdString(font.Name), "Liberation Sans", "Arimo", "Helvetica",
                   "DejaVu Sans"});
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * 96.0 / 72.0))));
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    return f;
}

Qt::PenStyle ToPenStyle(int style) {
    switch (style) {
        case 1:
            return Qt::DashLine;
        case 2:
            return Qt::DotLine;
        case 3:
            return Qt::DashDotLine;
        case 4:
            return Qt::DashDotDotLine;
        default:
            return Qt::SolidLine;
    }
}

QString TimeLabel(double days, const std::string& dateTimeFormat) {
    // m is the month and n the minute in these formats; Qt writes M and m.
    QString format;
    for (const char c : dateTimeFormat)
        format += c == 'm' ? 'M' : c == 'n' ? 'm' : QChar(c);
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    const auto msecs = static_cast<qint64>(std::llround(std::clamp(days, -1e6, 1e7) * 86400000.0));
    return epoch.addMSecs(msecs).toString(format);
}

}  // namespace wachtrix::chart

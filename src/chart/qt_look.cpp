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

namespace {

double RelativeLuminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDarkPalette(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() < palette.color(QPalette::Text).lightness();
}

QColor DarkGround(const QColor& background) {
    const QColor hsl = background.toHsl();
    return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), 255 - hsl.lightness()).toRgb();
}

QColor ReadableInk(const QColor& ink, const QColor& ground) {
    // Mixing toward white raises the contrast on a dark ground step by step; white ends it.
    const bool darkGround = RelativeLuminance(ground) < 0.18;
    const QColor far = darkGround ? QColor(Qt::white) : QColor(Qt::black);
    QColor c = ink.toRgb();
    for (int step = 1; ContrastRatio(c, ground) < 4.5 && step <= 10; ++step) {
        const double t = step / 10.0;
        c = QColor::fromRgbF(static_cast<float>(ink.redF() + (far.redF() - ink.redF()) * t),
                             static_cast<float>(ink.greenF() + (far.greenF() - ink.greenF()) * t),
                             static_cast<float>(ink.blueF() + (far.blueF() - ink.blueF()) * t));
    }
    return c;
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

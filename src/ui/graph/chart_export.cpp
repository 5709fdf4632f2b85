#include "ui/graph/chart_export.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include "chart/qt_look.h"
#include "chart/series_csv.h"
#include "chart/xy_graph.h"
#include "core/text/file_writer.h"
#include "ui/common/dialogs.h"

namespace wachtrix::ui {
namespace {

// Twice the screen pixels: sharp when printed or shown on a high-density screen.
constexpr qreal kExportScale = 2;
constexpr int kCaptionPadding = 6;

QStringList NonEmpty(const QStringList& lines) {
    QStringList kept;
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty()) kept << line;
    return kept;
}

// The caption lines in the window's label face.
QFont CaptionFont() {
    return chart::ToQFont(chart::TFont{});
}

int CaptionHeight(const QStringList& lines) {
    if (lines.isEmpty()) return 0;
    const QFontMetrics fm(CaptionFont());
    return 2 * kCaptionPadding + static_cast<int>(lines.size()) * fm.height();
}

QSize ExportSize(const chart::TxyGraph& graph, const QStringList& lines) {
    return graph.size() + QSize(0, CaptionHeight(lines));
}

// The chart, and the lines under it on white.
void RenderExport(QPainter& painter, chart::TxyGraph& graph, const QStringList& lines) {
    graph.Render(painter, graph.size());
    if (lines.isEmpty()) return;
    const QSize size = ExportSize(graph, lines);
    const QRect below(0, graph.height(), size.width(), size.height() - graph.height());
    painter.fillRect(below, Qt::white);
    painter.setFont(CaptionFont());
    painter.setPen(Qt::black);
    const QFontMetrics fm(painter.font());
    const int width = size.width() - 2 * kCaptionPadding;
    int top = below.top() + kCaptionPadding;
    for (const QString& line : lines) {
        painter.drawText(QRect(kCaptionPadding, top, width, fm.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         fm.elidedText(line, Qt::ElideRight, width));
        top += fm.height();
    }
}

QString WriteWhole(const QString& path, const QByteArray& bytes) {
    return QString::fromStdString(WriteFileSafely(
        QFile::encodeName(path).toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

void ReportFailure(QWidget* parent, const QString& path, const QString& reason) {
    Dialogs::show(parent, DialogKind::Error, "Graph",
                  QString("Could not save \"%1\": %2").arg(QDir::toNativeSeparators(path), reason));
}

}  // namespace

QImage ChartImage(chart::TxyGraph& graph, const QStringList& captions) {
    const QStringList lines = NonEmpty(captions);
    QImage image((QSizeF(ExportSize(graph, lines)) * kExportScale).toSize(),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kExportScale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        RenderExport(painter, graph, lines);
    }
    const int dotsPerMeter = qRound(kExportScale * 96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

void CopyChartImage(chart::TxyGraph& graph) {
    QGuiApplication::clipboard()->setImage(ChartImage(graph));
}

QString WriteChartPng(chart::TxyGraph& graph, const QString& path, const QStringList& captions) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!ChartImage(graph, captions).save(&buffer, "PNG")) return "the image could not be encoded";
    return WriteWhole(path, bytes);
}

QString WriteChartSvg(chart::TxyGraph& graph, const QString& path, const QStringList& captions) {
    const QStringList lines = NonEmpty(captions);
    const QSize size = ExportSize(graph, lines);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QString::fromStdString(graph.Appearance().GraphTitle));
    svg.setDescription("Wachtrix chart");
    QPainter painter;
    if (!painter.begin(&svg)) return "the drawing could not be started";
    RenderExport(painter, graph, lines);
    painter.end();
    return WriteWhole(path, bytes);
}

QString WriteChartCsv(const chart::TxyGraph& graph, const QString& path) {
    const chart::CsvTitles titles{graph.Appearance().GraphTitle, graph.XAxis().Title,
                                  graph.YAxis().Title};
    return WriteWhole(path, QByteArray::fromStdString(chart::SeriesCsv(graph.AllSeries(), titles)));
}

void SaveChartImage(chart::TxyGraph& graph, QWidget* parent, QString& directory,
                    const QStringList& captions) {
    const QString path = Dialogs::chooseFile(
        parent, {true, "Save Chart as Image", "PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg",
                 "png", directory});
    if (path.isEmpty()) return;
    directory = QFileInfo(path).absolutePath();
    const bool svg = QFileInfo(path).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    const QString reason =
        svg ? WriteChartSvg(graph, path, captions) : WriteChartPng(graph, path, captions);
    if (!reason.isEmpty()) ReportFailure(parent, path, reason);
}

void SaveChartData(chart::TxyGraph& graph, QWidget* parent, QString& directory) {
    const QString path = Dialogs::chooseFile(
        parent,
        {true, "Save Chart Data", "CSV file (*.csv)|*.csv|All files (*.*)|*.*", "csv", directory});
    if (path.isEmpty()) return;
    directory = QFileInfo(path).absolutePath();
    const QString reason = WriteChartCsv(graph, path);
    if (!reason.isEmpty()) ReportFailure(parent, path, reason);
}

}  // namespace wachtrix::ui

#include "ui/graph/chart_export.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include "chart/series_csv.h"
#include "chart/xy_graph.h"
#include "core/text/file_writer.h"
#include "ui/common/dialogs.h"

namespace wachtrix::ui {
namespace {

// Twice the screen pixels: sharp when printed or shown on a high-density screen.
constexpr qreal kExportScale = 2;

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

QImage ChartImage(chart::TxyGraph& graph) {
    QImage image = graph.RenderImage(kExportScale);
    const int dotsPerMeter = qRound(kExportScale * 96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

void CopyChartImage(chart::TxyGraph& graph) {
    QGuiApplication::clipboard()->setImage(ChartImage(graph));
}

QString WriteChartPng(chart::TxyGraph& graph, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!ChartImage(graph).save(&buffer, "PNG")) return "the image could not be encoded";
    return WriteWhole(path, bytes);
}

QString WriteChartSvg(chart::TxyGraph& graph, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(graph.size());
    svg.setViewBox(QRect(QPoint(0, 0), graph.size()));
    svg.setTitle(QString::fromStdString(graph.Appearance().GraphTitle));
    svg.setDescription("Wachtrix chart");
    QPainter painter;
    if (!painter.begin(&svg)) return "the drawing could not be started";
    graph.Render(painter, graph.size());
    painter.end();
    return WriteWhole(path, bytes);
}

QString WriteChartCsv(const chart::TxyGraph& graph, const QString& path) {
    return WriteWhole(path, QByteArray::fromStdString(chart::SeriesCsv(graph.AllSeries())));
}

void SaveChartImage(chart::TxyGraph& graph, QWidget* parent, QString& directory) {
    const QString path = Dialogs::chooseFile(
        parent, {true, "Save Chart as Image", "PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg",
                 "png", directory});
    if (path.isEmpty()) return;
    directory = QFileInfo(path).absolutePath();
    const bool svg = QFileInfo(path).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    const QString reason = svg ? WriteChartSvg(graph, path) : WriteChartPng(graph, path);
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

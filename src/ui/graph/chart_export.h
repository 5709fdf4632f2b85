#pragma once
// Taking a chart out of its window: to the clipboard, to a PNG or SVG file, its points to a
// CSV file. The Save functions ask for the file through Dialogs, opened in `directory`, which
// becomes the chosen file's folder, and report a failure in an error box; the Write functions
// do the writing and return the reason of a failure (empty on success). Files are written whole
// or not at all.

#include <QImage>
#include <QString>

namespace wachtrix::chart {
class TxyGraph;
}

class QWidget;

namespace wachtrix::ui {

// The chart at twice its on-screen pixels, marked for printing at its on-screen size.
QImage ChartImage(chart::TxyGraph& graph);

void CopyChartImage(chart::TxyGraph& graph);
// .svg: SVG, otherwise PNG
void SaveChartImage(chart::TxyGraph& graph, QWidget* parent, QString& directory);
void SaveChartData(chart::TxyGraph& graph, QWidget* parent, QString& directory);

QString WriteChartPng(chart::TxyGraph& graph, const QString& path);
QString WriteChartSvg(chart::TxyGraph& graph, const QString& path);
QString WriteChartCsv(const chart::TxyGraph& graph, const QString& path);

}  // namespace wachtrix::ui

#pragma once
// Taking a chart out of its window: to the clipboard, to a PNG or SVG file, its points to a
// CSV file. The Save functions ask for the file through Dialogs, opened in `directory`, which
// becomes the chosen file's folder, and report a failure in an error box; the Write functions
// do the writing and return the reason of a failure (empty on success). Files are written whole
// or not at all.
//
// Saved images carry `captions` (the window's title and parameter lines) under the chart, so
// that a chart on its own still says which model and parameters it shows; the copy on the
// clipboard is the chart alone, to be pasted beside the text it belongs to. The CSV names its
// columns after the chart's title and axis titles.

#include <QImage>
#include <QString>
#include <QStringList>

namespace wachtrix::chart {
class TxyGraph;
}

class QWidget;

namespace wachtrix::ui {

// The chart at twice its on-screen pixels, marked for printing at its on-screen size, with the
// captions under it (empty lines left out).
QImage ChartImage(chart::TxyGraph& graph, const QStringList& captions = {});

void CopyChartImage(chart::TxyGraph& graph);
// .svg: SVG, otherwise PNG.
void SaveChartImage(chart::TxyGraph& graph, QWidget* parent, QString& directory,
                    const QStringList& captions = {});
void SaveChartData(chart::TxyGraph& graph, QWidget* parent, QString& directory);

QString WriteChartPng(chart::TxyGraph& graph, const QString& path,
                      const QStringList& captions = {});
QString WriteChartSvg(chart::TxyGraph& graph, const QString& path,
                      const QStringList& captions = {});
QString WriteChartCsv(const chart::TxyGraph& graph, const QString& path);

}  // namespace wachtrix::ui

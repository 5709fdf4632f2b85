#include "chart/series_csv.h"

#include "core/text/points_csv.h"

namespace wachtrix::chart {

std::string SeriesCsv(const SeriesList& list, const CsvTitles& titles) {
    std::vector<CsvPoint> points;
    for (const auto& series : list)
        for (const TDataPoint& p : series->Points())
            points.push_back({series->Number(), p.X, p.Y});
    return PointsCsv({titles.chart, "series", titles.x.empty() ? "x" : titles.x,
                      titles.y.empty() ? "y" : titles.y},
                     points);
}

}  // namespace wachtrix::chart

#include "chart/series_csv.h"

#include "core/text/points_csv.h"

namespace wachtrix::chart {

std::string SeriesCsv(const SeriesList& list) {
    std::vector<CsvPoint> points;
    for (const auto& series : list)
        for (const TDataPoint& p : series->Points())
            points.push_back({series->Number(), p.X, p.Y});
    return PointsCsv("series", points);
}

}  // namespace wachtrix::chart

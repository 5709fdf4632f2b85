#pragma once
// The points of a chart as comma-separated text, one line a point, with the shortest numbers
// that read back exactly; the chart's title on a comment line and its axis titles naming the
// columns, when it has them:
//   # P(Wq>t | Wq>0)
//   series,Time t,Probability
//   1,0.25,0.5
//   1,0.5,0.125
// Without titles: "series,x,y" and the points.

#include <string>

#include "chart/series_list.h"

namespace wachtrix::chart {

struct CsvTitles {
    std::string chart;  // empty: no comment line
    std::string x;      // empty: "x"
    std::string y;      // empty: "y"
};

std::string SeriesCsv(const SeriesList& series, const CsvTitles& titles = {});

}  // namespace wachtrix::chart

#pragma once
// The points of a chart as comma-separated text, one line a point, with the shortest numbers
// that read back exactly:
//   series,x,y
//   1,0.25,0.5
//   1,0.5,0.125

#include <string>

#include "chart/series_list.h"

namespace wachtrix::chart {

std::string SeriesCsv(const SeriesList& series);

}  // namespace wachtrix::chart

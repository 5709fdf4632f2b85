#pragma once
// Graph points as comma-separated text, one line a point, numbers in their shortest form that
// reads back exactly, whatever the locale:
//
//   PointsCsv("chart", {{1, 0.25, 0.5}, {2, 1, 0.125}}) -> "chart,x,y\n1,0.25,0.5\n2,1,0.125\n"

#include <string>
#include <string_view>
#include <vector>

namespace wachtrix {

struct CsvPoint {
    int group = 1;  // the chart or series the point belongs to
    double x = 0, y = 0;
};

std::string PointsCsv(std::string_view groupColumn, const std::vector<CsvPoint>& points);

}  // namespace wachtrix

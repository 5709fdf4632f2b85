#pragma once
// Graph points as comma-separated text, one line a point, numbers in their shortest form that
// reads back exactly, whatever the locale. One header row names the columns; a title, when
// given, goes on a "# " comment line above it (spreadsheets show it, CSV readers skip it as a
// comment). Column names holding a comma, a quote or a line break are quoted:
//
//   PointsCsv({.group = "chart"}, {{1, 0.25, 0.5}, {2, 1, 0.125}})
//       -> "chart,x,y\n1,0.25,0.5\n2,1,0.125\n"
//   PointsCsv({"P(W>t)", "series", "Time t", "P"}, {{1, 0, 1}})
//       -> "# P(W>t)\nseries,Time t,P\n1,0,1\n"

#include <string>
#include <string_view>
#include <vector>

namespace wachtrix {

struct CsvPoint {
    int group = 1;  // the chart or series the point belongs to
    double x = 0, y = 0;
};

struct CsvColumns {
    std::string_view title;  // empty: no comment line
    std::string_view group = "series";
    std::string_view x = "x";
    std::string_view y = "y";
};

std::string PointsCsv(const CsvColumns& columns, const std::vector<CsvPoint>& points);

}  // namespace wachtrix

#pragma once
// What a model hands to a graph window: plain data, applied by the window with the calling
// pattern of the chart (Plotting off, series cleared and set up, points added, Plotting on).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wachtrix {

// Windows colour values (0x00BBGGRR), as the chart settings are given.
inline constexpr std::uint32_t kChartBlue = 0xFF0000;
inline constexpr std::uint32_t kChartRed = 0x0000FF;
inline constexpr std::uint32_t kChartGreen = 0x008000;

struct ChartPoint {
    double x = 0;
    double y = 0;
    bool operator==(const ChartPoint&) const = default;
};

// Only the settings a model changes; the rest stays as the window lays the chart out.
struct ChartAxisSettings {
    std::optional<std::string> title;
    std::optional<bool> logScale;
    std::optional<double> min, max;
    std::optional<bool> autoSizing, autoStepping;
};

struct ChartPlot {
    int series = 1;
    std::optional<std::string> seriesName;  // in the legend of a chart with several series
    std::optional<std::string> graphTitle;
    ChartAxisSettings xAxis, yAxis;
    std::vector<ChartPoint> points;
    bool drawPoints = true;
    bool drawLine = false;
    std::uint32_t color = kChartBlue;
};

// Marks for a few points, a line for many: at most 24 points are drawn as marks.
ChartPlot MarksOrLine(std::vector<ChartPoint> points);

}  // namespace wachtrix

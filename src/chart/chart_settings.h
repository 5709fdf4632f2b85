#pragma once
// The margins, the look and the legend of the chart. Sizes in pixels; colours are Windows
// colour values (0x00BBGGRR).

#include <cstdint>
#include <optional>
#include <string>

#include "chart/property.h"
#include "chart/series.h"

namespace wachtrix::chart {

// The face a text is drawn in; the painter falls back to a metric twin of Arial.
struct TFont {
    std::string Name = "Arial";
    int Size = 8;  // points, at 96 pixels per inch
    bool Bold = false;
    bool Italic = false;
    TColor Color = 0x000000;
    bool operator==(const TFont&) const = default;
};

// The window colour of a panel.
inline constexpr TColor kPanelColor = 0xF0F0F0;

class TDimensions {
public:
    explicit TDimensions(PropertyOwner& graph);
    TDimensions(const TDimensions&) = delete;
    TDimensions& operator=(const TDimensions&) = delete;

    Property<int> LeftMargin, RightMargin, TopMargin, BottomMargin;
    Property<int> TickLength;
    Property<int> XAxisTitleOffset, YAxisTitleOffset;  // from the labels / the left edge
    Property<int> XAxisLabelOffset, YAxisLabelOffset;  // from the ticks
    Property<int> GraphTitleOffset;                    // above the plot area
};

class TAppearance {
public:
    explicit TAppearance(PropertyOwner& graph);
    TAppearance(const TAppearance&) = delete;
    TAppearance& operator=(const TAppearance&) = delete;

    Property<bool> AllowDuplicates;  // for series created from now on
    Property<TColor> AxesColor;
    Property<TColor> BackgroundColor;  // the plot area
    Property<TColor> MarginColor;      // around it
    Property<std::string> ErrorCaption;
    Property<TColor> GridColor;
    Property<int> GridStyle;         // pen styles as for series lines: 2 dotted
    Property<bool> ShowGraphLabels;  // tick labels
    Property<bool> PlotOffGraph;     // series not clipped to the plot area
    Property<bool> ShowTicks;
    Property<std::string> GraphTitle;
    Property<int> MinSteps, MaxSteps;
    Property<TFont> TitleFont;    // graph title
    Property<TFont> CaptionFont;  // axis titles and the error caption
    Property<TFont> LabelFont;    // tick labels and legend
    Property<bool> CrossAtZero;
    Property<TColor> CrossColor;
    Property<int> Crosslength;
    Property<bool> PrintLineStyle;  // series lines one pixel wide
};

enum class TLegendStyle { lsAcross, lsDown };
enum class TBorderStyle { bsNone, bsSingle };

class TLegend {
public:
    explicit TLegend(PropertyOwner& graph);
    TLegend(const TLegend&) = delete;
    TLegend& operator=(const TLegend&) = delete;

    // The legend lists the series that have ShowInLegend set.
    Property<bool> visible;
    Property<std::optional<TColor>> color;  // unset: the background colour
    Property<TBorderStyle> borderStyle;
    Property<TLegendStyle> Layout;
    Property<int> top, left;
    Property<std::optional<int>> width;  // unset: graph width - 20
    Property<int> height;
    Property<TFont> font;
    Property<int> SymbolSpace, XMargin, YMargin;
};

}  // namespace wachtrix::chart

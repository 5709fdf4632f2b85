#include "chart/chart_settings.h"

namespace wachtrix::chart {

TDimensions::TDimensions(PropertyOwner& graph)
    : LeftMargin(graph, 40),
      RightMargin(graph, 15),
      TopMargin(graph, 30),
      BottomMargin(graph, 40),
      TickLength(graph, 4),
      XAxisTitleOffset(graph, 4),
      YAxisTitleOffset(graph, 4),
      XAxisLabelOffset(graph, 2),
      YAxisLabelOffset(graph, 2),
      GraphTitleOffset(graph, 7) {}

TAppearance::TAppearance(PropertyOwner& graph)
    : AllowDuplicates(graph, false),
      AxesColor(graph, 0x000000),
      BackgroundColor(graph, kPanelColor),
      MarginColor(graph, kPanelColor),
      ErrorCaption(graph, "MAX/MIN VALUES INCONSISTENT"),
      GridColor(graph, 0xC0C0C0),
      GridStyle(graph, 2),
      ShowGraphLabels(graph, true),
      PlotOffGraph(graph, false),
      ShowTicks(graph, true),
      GraphTitle(graph, ""),
      MinSteps(graph, 5),
      MaxSteps(graph, 50),
      TitleFont(graph, TFont{"Arial", 9, true}),
      CaptionFont(graph, TFont{}),
      LabelFont(graph, TFont{}),
      CrossAtZero(graph, true),
      CrossColor(graph, 0x0000FF),
      Crosslength(graph, 4),
      PrintLineStyle(graph, true) {}

TLegend::TLegend(PropertyOwner& graph)
    : visible(graph, false),
      color(graph, std::nullopt),
      borderStyle(graph, TBorderStyle::bsNone),
      Layout(graph, TLegendStyle::lsAcross),
      top(graph, 10),
      left(graph, 10),
      width(graph, std::nullopt),
      height(graph, 20),
      font(graph, TFont{}),
      SymbolSpace(graph, 20),
      XMargin(graph, 10),
      YMargin(graph, 5) {}

}  // namespace wachtrix::chart

#include "chart/chart_axis.h"

namespace wachtrix::chart {
namespace {

const char* DefaultTitle(AxisKind kind) {
    switch (kind) {
        case AxisKind::X:
            return "X axis";
        case AxisKind::Y:
            return "Y axis";
        case AxisKind::YSecond:
            break;
    }
    return "Second Y axis";
}

}  // namespace

TAxis::TAxis(PropertyOwner& graph, AxisKind kind)
    : Title(graph, DefaultTitle(kind)),
      LabelDecimals(graph, 1),
      AutoLabelDecimals(graph, kind != AxisKind::YSecond),
      LogCycleDivisions(graph, 2),
      LogScale(graph, false),
      Min(graph, 0.0),
      Max(graph, 1.0),
      StepSize(graph, 0.2),
      MinScaleLength(graph, 0.0),
      ShowAsTime(graph, false),
      DateTimeFormat(graph, "dd-mmm"),
      DateTickType(graph, Dateticks::dt_minute),
      ShowAxis(graph, kind != AxisKind::YSecond),
      Reversed(graph, kind == AxisKind::YSecond),
      OffsetType(graph, kind == AxisKind::YSecond ? TAxisOffsetType::ao_Maximum
                                                  : TAxisOffsetType::ao_Minimum),
      Offset(graph, 0.0),
      Gridlines(graph, kind != AxisKind::YSecond),
      AutoSizing(graph, true),
      AutoStepping(graph, true),
      kind_(kind) {}

AxisSettings TAxis::Settings() const {
    AxisSettings s;
    s.logScale = LogScale;
    s.showAsTime = ShowAsTime;
    s.autoSizing = AutoSizing;
    s.autoStepping = AutoStepping;
    s.min = Min;
    s.max = Max;
    s.stepSize = StepSize;
    s.minScaleLength = MinScaleLength;
    s.logCycleDivisions = LogCycleDivisions;
    s.dateTickType = DateTickType;
    return s;
}

}  // namespace wachtrix::chart

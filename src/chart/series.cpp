#include "chart/series.h"

#include <string>

namespace wachtrix::chart {
namespace {

struct SeriesLook {
    TColor color;
    int shape;
    int lineStyle;
    bool filled;
};

SeriesLook LookOf(int number) {
    switch (number) {
        case 1:
            return {0x008000, 0, 0, true};
        case 2:
            return {0xFF0000, 1, 1, true};
        case 3:
            return {0x0000FF, 2, 2, true};
        case 4:
            return {0x808080, 3, 3, true};
        case 5:
            return {0x000080, 0, 4, false};
        default:
            return {0x008000, 1, 0, number < 5};
    }
}

}  // namespace

TSeries::TSeries(SeriesOwner* owner, int number, bool duplicatesAllowed)
    : TDataSeries("Series " + std::to_string(number), duplicatesAllowed),
      FillPoints(*this, LookOf(number).filled),
      Color(*this, LookOf(number).color),
      PointShape(*this, LookOf(number).shape),
      LineStyle(*this, LookOf(number).lineStyle),
      owner_(owner),
      number_(number) {}

void TSeries::Notify() {
    if (owner_) owner_->SeriesChanged(*this);
}

void TSeries::TooManyPoints() {
    if (owner_) owner_->SeriesTooManyPoints(*this);
}

}  // namespace wachtrix::chart

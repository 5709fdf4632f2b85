#include "ui/queue/label_rules.h"

#include <cmath>

#include "core/text/number_parse.h"

namespace wachtrix::ui {
namespace {
const QString kNValues = "n-values";

QString NValuesBound(long long bound) {
    return QString("n-values (<=%1)").arg(bound);
}
}  // namespace

QString NValuesCaption(const QString& cText, const QString& nText) {
    const auto c = ParseInt(cText.toStdString());
    const auto n = ParseInt(nText.toStdString());
    if (!c || !n) return kNValues;
    // In 64 bits: two 32-bit integers typed by the user must not overflow.
    return NValuesBound(static_cast<long long>(*c) + *n);
}

QString MachineNValuesCaption(const QString& mText) {
    const auto m = ParseInt(mText.toStdString());
    return m ? NValuesBound(*m) : kNValues;
}

QString InitialStateRangeLabel(const QString& rhoText) {
    const auto read = ParseReal(rhoText.toStdString());
    if (!read) return QString();
    double rho = *read;
    if ((rho > 0.99 && rho < 1.01) || rho > 10) return QString();
    rho = std::max(rho, 1e-9);
    double n = -16 * std::log(10.0) / std::log(rho);
    if (n > 100 || rho > 1) n = 100;
    return QString("<= %1").arg(static_cast<int>(std::trunc(n)));
}

}  // namespace wachtrix::ui

#include "ui/queue/label_rules.h"

#include "core/queue/mm1_tran.h"
#include "core/text/number_parse.h"

namespace wachtrix::ui {
namespace {
const QString kNValues = "n-values";

QString NValuesBound(long long bound) {
    return QString("n-values (<=%1)").arg(bound);
}
}  // namespace

QString Dg1Cs2Caption(bool pureErlang) {
    return pureErlang ? "1/CS2:" : "CS2:";
}

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
    const auto rho = ParseReal(rhoText.toStdString());
    if (!rho || (*rho > 0.99 && *rho < 1.01) || *rho > 10) return QString();
    return QString("<= %1").arg(MM1MaxInitialState(*rho));
}

}  // namespace wachtrix::ui

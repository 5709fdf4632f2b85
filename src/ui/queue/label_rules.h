#pragma once
// The captions that follow what the user types on the queue tabs.

#include <QString>

namespace wachtrix::ui {

// Finite Capacity n-values group: "n-values (<=%d)" with c + N when both read as integers,
// otherwise "n-values".
//   NValuesCaption("2", "3") -> "n-values (<=5)"      NValuesCaption("", "3") -> "n-values"
QString NValuesCaption(const QString& cText, const QString& nText);

// D/G/1 service-time field caption: "1/CS2:" for Pure Erlang, "CS2:" for the other services.
QString Dg1Cs2Caption(bool pureErlang);

// Finite Source n-values group: "n-values (<=%d)" with M, or "n-values".
QString MachineNValuesCaption(const QString& mText);

// Transient M/M/1: the largest initial state for a rho, the state where rho^i falls to 1e-16,
// at most 100; empty where no bound applies (rho unreadable, near 1, or above 10).
//   "0.5" -> "<= 53"     "0.99" -> "<= 100"     "1.0" -> ""     "" -> ""
QString InitialStateRangeLabel(const QString& rhoText);

}  // namespace wachtrix::ui

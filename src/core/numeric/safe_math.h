#pragma once
// Guarded mathematics in extended precision: no overflow, no logarithm of zero.
//
//   SafeExp(-100) -> 0     SafeLn(0) -> -750     SafePower(0, 0) -> 0

namespace wachtrix {

using Extended = long double;

int MinInt(int a, int b);
int MaxInt(int a, int b);

Extended SafeExp(Extended x);                // 0 when x <= -100
Extended SafeLn(Extended x);                 // -750 when x <= 0
Extended SafePower(Extended a, Extended b);  // 0 when a = 0, else SafeExp(b * SafeLn(a))
bool IsSignificant(Extended x);              // x >= 1e-6

}  // namespace wachtrix

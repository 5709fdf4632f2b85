#include "core/numeric/safe_math.h"

#include <cmath>

namespace wachtrix {

int MinInt(int a, int b) {
    return a < b ? a : b;
}
int MaxInt(int a, int b) {
    return a > b ? a : b;
}

Extended SafeExp(Extended x) {
    return x <= -100 ? 0 : std::exp(x);
}

Extended SafeLn(Extended x) {
    return x <= 0 ? -750 : std::log(x);
}

Extended SafePower(Extended a, Extended b) {
    return a == 0 ? 0 : SafeExp(b * SafeLn(a));
}

bool IsSignificant(Extended x) {
    return x >= 1e-6L;
}

}  // namespace wachtrix

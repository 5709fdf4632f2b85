#include "core/numeric/poisson_table.h"

#include <cmath>

#include "core/numeric/safe_math.h"

namespace wachtrix {

std::vector<double> PoissonTable(double mean, int count) {
    std::vector<double> a(count > 0 ? count : 0, 0.0);
    if (a.empty()) return a;
    if (!(mean > 0)) {  // no arrivals at all: the whole mass at 0
        a[0] = 1;
        return a;
    }
    Extended logTerm = -static_cast<Extended>(mean);
    a[0] = static_cast<double>(SafeExp(logTerm));
    for (int j = 1; j < count; ++j) {
        logTerm += std::log(static_cast<Extended>(mean) / j);
        a[j] = static_cast<double>(SafeExp(logTerm));
    }
    return a;
}

}  // namespace wachtrix

#include "core/queue/gimc_statistics.h"

#include <cmath>

namespace wachtrix {

GimcStatistics GimcStatisticsOf(int c, double rho, long double sigma, long double Pstar) {
    GimcStatistics s;
    s.Pwait = static_cast<double>(Pstar * sigma / (1 - sigma));
    s.Pbusy = static_cast<double>(rho * Pstar / (1 - sigma));
    const double decay = c * (1 - static_cast<double>(sigma));
    s.EWq = s.Pwait / decay;
    const double EWq2 = 2 * s.Pwait / (decay * decay);
    s.StdWq = std::sqrt(std::fabs(EWq2 - s.EWq * s.EWq));
    s.ELq = c * rho * s.EWq;
    // The second factorial moment of the queue length over time.
    const double M2 = static_cast<double>(2 * rho * Pstar * sigma * sigma / std::pow(1 - sigma, 3));
    s.StdLq = std::sqrt(std::fabs(M2 + s.ELq - s.ELq * s.ELq));
    return s;
}

}  // namespace wachtrix

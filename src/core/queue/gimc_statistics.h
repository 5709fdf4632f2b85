#pragma once
// The standard statistics of the queues with renewal arrivals and c exponential servers (D/M/c,
// G/M/c). Above c - 1 an arriving customer sees a geometric queue with ratio sigma, so a delayed
// customer waits an exponential time with rate c (1 - sigma), and every figure follows from sigma
// and the boundary probability P* that an arrival finds c - 1 customers (scaled so that the
// geometric tail sums to P* sigma / (1 - sigma)).
//
//   c = 1: P* = 1 - sigma, so Pwait = sigma and E(Wq) = sigma / (1 - sigma).

namespace wachtrix {

struct GimcStatistics {
    double Pwait = 0;  // an arrival finds all servers busy
    double Pbusy = 0;  // all servers busy, over time
    double EWq = 0, ELq = 0, StdWq = 0, StdLq = 0;
};

GimcStatistics GimcStatisticsOf(int c, double rho, long double sigma, long double Pstar);

}  // namespace wachtrix

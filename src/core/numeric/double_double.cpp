#include "core/numeric/double_double.h"

namespace wachtrix::dd {
namespace {

// Built three times where the loader can choose: with the fused multiply-add and 512-bit or
// 256-bit vectors, and for any x86-64, where std::fma is the library's exact one. The file is
// compiled without contraction, so each clone does the same roundings and gives the same results.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define WACHTRIX_FMA_CLONES \
    __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define WACHTRIX_FMA_CLONES
#endif

}  // namespace

WACHTRIX_FMA_CLONES void AddScaled(double* __restrict yHi, double* __restrict yLo, DoubleDouble s,
                                   const double* __restrict xHi, const double* __restrict xLo,
                                   int length) {
    const double sh = s.hi;
    const double sl = s.lo;
    for (int k = 0; k < length; ++k) {
        // The product, then the sum, as in operator* and operator+.
        const double p = sh * xHi[k];
        const double pe = std::fma(sh, xHi[k], -p) + (sh * xLo[k] + sl * xHi[k]);
        const double ph = p + pe;
        const double pl = pe - (ph - p);
        const double y = yHi[k];
        const double sum = y + ph;
        const double v = sum - y;
        const double e = (y - (sum - v)) + (ph - v);
        const double t = e + pl + yLo[k];
        const double h = sum + t;
        yLo[k] = t - (h - sum);
        yHi[k] = h;
    }
}

DoubleDouble Sum(const double* xHi, const double* xLo, int length) {
    DoubleDouble sum;
    for (int k = 0; k < length; ++k)
        sum += DoubleDouble(xHi[k], xLo[k]);
    return sum;
}

}  // namespace wachtrix::dd

#include "core/numeric/student_t.h"

#include <array>
#include <cmath>

namespace wachtrix {

double StudentT975(int degreesOfFreedom) {
    // The 0.975 quantiles for 1..30 degrees of freedom, where the expansion is not yet accurate.
    static constexpr std::array<double, 30> kTable = {
        12.7062, 4.30265, 3.18245, 2.77645, 2.57058, 2.44691, 2.36462, 2.30600, 2.26216, 2.22814,
        2.20099, 2.17881, 2.16037, 2.14479, 2.13145, 2.11991, 2.10982, 2.10092, 2.09302, 2.08596,
        2.07961, 2.07387, 2.06866, 2.06390, 2.05954, 2.05553, 2.05183, 2.04841, 2.04523, 2.04227};
    if (degreesOfFreedom <= static_cast<int>(kTable.size()))
        return kTable[static_cast<std::size_t>(degreesOfFreedom - 1)];
    const double z = 1.959963984540054, n = degreesOfFreedom;
    const double z2 = z * z, z3 = z2 * z, z5 = z3 * z2, z7 = z5 * z2, z9 = z7 * z2;
    return z + (z3 + z) / (4 * n) + (5 * z5 + 16 * z3 + 3 * z) / (96 * n * n) +
           (3 * z7 + 19 * z5 + 17 * z3 - 15 * z) / (384 * n * n * n) +
           (79 * z9 + 776 * z7 + 1482 * z5 - 1920 * z3 - 945 * z) / (92160 * n * n * n * n);
}

}  // namespace wachtrix

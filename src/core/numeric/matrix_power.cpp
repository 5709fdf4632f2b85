#include "core/numeric/matrix_power.h"

#include <algorithm>

namespace wachtrix {
namespace {

// Built twice where the loader can choose: for AVX2 and for any x86-64. The file is compiled
// without contraction, so both clones do the same roundings.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define WACHTRIX_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define WACHTRIX_VECTOR_CLONES
#endif

// Rows of c worked together, so that each row of b is read once for all of them.
constexpr int kRows = 4;

// c[r][j] += sum over k of a[r][k] b[k][j] for kRows rows, j in [from, to); a's rows are n apart.
WACHTRIX_VECTOR_CLONES void Block(const double* __restrict a, const double* __restrict b,
                                  double* __restrict c, int n, int rows) {
    for (int k = 0; k < n; ++k) {
        const double* bk = b + static_cast<std::size_t>(k) * n;
        if (rows == kRows) {
            const double a0 = a[k], a1 = a[n + k], a2 = a[2 * n + k], a3 = a[3 * n + k];
            double* c0 = c;
            double* c1 = c + n;
            double* c2 = c + 2 * n;
            double* c3 = c + 3 * n;
            for (int j = 0; j < n; ++j) {
                const double bj = bk[j];
                c0[j] += a0 * bj;
                c1[j] += a1 * bj;
                c2[j] += a2 * bj;
                c3[j] += a3 * bj;
            }
        } else {
            for (int r = 0; r < rows; ++r) {
                const double ar = a[static_cast<std::size_t>(r) * n + k];
                double* cr = c + static_cast<std::size_t>(r) * n;
                for (int j = 0; j < n; ++j)
                    cr[j] += ar * bk[j];
            }
        }
    }
}

}  // namespace

void MultiplyDense(const double* a, const double* b, double* c, int n) {
    std::fill(c, c + static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 0; i < n; i += kRows) {
        const std::size_t offset = static_cast<std::size_t>(i) * n;
        Block(a + offset, b, c + offset, n, std::min(kRows, n - i));
    }
}

void MultiplyRowVector(const double* v, const double* a, double* out, int n) {
    std::fill(out, out + n, 0.0);
    Block(v, a, out, n, 1);
}

}  // namespace wachtrix

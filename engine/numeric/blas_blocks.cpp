#include "numeric/blas_blocks.h"

#include <cblas.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "numeric/complex.h"

namespace ostrac::numeric {
namespace {

static_assert(sizeof(Complex) == 2 * sizeof(double), "the BLAS reads a Complex as two doubles");

// OpenBLAS is loaded by the first large operation, not with the program: its
// worker threads start with it and keep a processor busy for a moment before
// they sleep, which a calculator that never meets a large matrix should not
// pay. A library that cannot be loaded fails the operation, and the next one
// tries again.
struct OpenBlas {
    decltype(&cblas_dgemm) dgemm;
    decltype(&cblas_zgemm) zgemm;
    decltype(&cblas_dtrsm) dtrsm;
    decltype(&cblas_ztrsm) ztrsm;
};

template <class F>
F function_of(void* library, const char* name) {
    void* symbol = ::dlsym(library, name);
    if (symbol == nullptr) throw std::runtime_error(std::string("OpenBLAS has no ") + name);
    return reinterpret_cast<F>(symbol);
}

const OpenBlas& openblas() {
    static const OpenBlas loaded = [] {
        void* library = ::dlopen("libopenblas.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) throw std::runtime_error(::dlerror());
        return OpenBlas{function_of<decltype(&cblas_dgemm)>(library, "cblas_dgemm"),
                        function_of<decltype(&cblas_zgemm)>(library, "cblas_zgemm"),
                        function_of<decltype(&cblas_dtrsm)>(library, "cblas_dtrsm"),
                        function_of<decltype(&cblas_ztrsm)>(library, "cblas_ztrsm")};
    }();
    return loaded;
}

// Work of one BLAS call, in real multiply-adds (a complex one counts four):
// about 15 ms with this machine's kernels on two cores, 0.15 s with a plain
// SSE2 kernel on one.
constexpr double block_work = double(1 << 30);
// Narrower blocks would waste the BLAS's speed.
constexpr int min_side = 64;

template <class T>
constexpr double element_work = 1.0;
template <>
constexpr double element_work<Complex> = 4.0;

void gemm(int m, int n, int k, double alpha, const double* a, int lda, const double* b, int ldb, double beta,
          double* c, int ldc) {
    openblas().dgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, m, n, k, alpha, a, lda, b, ldb, beta, c, ldc);
}

void gemm(int m, int n, int k, double alpha, const Complex* a, int lda, const Complex* b, int ldb, double beta,
          Complex* c, int ldc) {
    const Complex za{alpha, 0.0};
    const Complex zb{beta, 0.0};
    openblas().zgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, m, n, k, &za, a, lda, b, ldb, &zb, c, ldc);
}

CBLAS_UPLO uplo(Triangle kind) { return kind == Triangle::UnitLower ? CblasLower : CblasUpper; }
CBLAS_DIAG diag(Triangle kind) { return kind == Triangle::UnitLower ? CblasUnit : CblasNonUnit; }

void trsm(Triangle kind, int m, int n, const double* t, int ldt, double* b, int ldb) {
    openblas().dtrsm(CblasRowMajor, CblasLeft, uplo(kind), CblasNoTrans, diag(kind), m, n, 1.0, t, ldt, b, ldb);
}

void trsm(Triangle kind, int m, int n, const Complex* t, int ldt, Complex* b, int ldb) {
    const Complex one{1.0, 0.0};
    openblas().ztrsm(CblasRowMajor, CblasLeft, uplo(kind), CblasNoTrans, diag(kind), m, n, &one, t, ldt, b, ldb);
}

int clamp_side(double side, int limit) {
    return static_cast<int>(std::clamp(side, double(std::min(min_side, limit)), double(limit)));
}

}  // namespace

// Blocks of c, each with the whole inner dimension unless even a narrow block
// would exceed the work of one call; then the inner dimension is split too and
// the later parts accumulate.
template <class T>
bool multiply_blocks(int m, int n, int k, const T* a, int lda, const T* b, int ldb, T* c, int ldc,
                     Accumulate mode, const StopCheck& stop) {
    if (m == 0 || n == 0) return true;
    const double unit = element_work<T>;
    const int kc = clamp_side(block_work / (unit * min_side * min_side), k);
    const double area = block_work / (unit * kc);
    const int mc = clamp_side(std::sqrt(area), m);
    const int nc = clamp_side(area / mc, n);
    const double alpha = mode == Accumulate::Subtract ? -1.0 : 1.0;
    for (int i = 0; i < m; i += mc) {
        const int rows = std::min(mc, m - i);
        for (int j = 0; j < n; j += nc) {
            const int cols = std::min(nc, n - j);
            T* cij = c + static_cast<std::ptrdiff_t>(i) * ldc + j;
            for (int p = 0; p < k; p += kc) {
                if (stop_requested(stop)) return false;
                const int depth = std::min(kc, k - p);
                const double beta = p == 0 && mode == Accumulate::Replace ? 0.0 : 1.0;
                gemm(rows, cols, depth, alpha, a + static_cast<std::ptrdiff_t>(i) * lda + p, lda,
                     b + static_cast<std::ptrdiff_t>(p) * ldb + j, ldb, beta, cij, ldc);
            }
        }
    }
    return true;
}

template <class T>
bool solve_blocks(Triangle kind, int m, int n, const T* t, int ldt, T* b, int ldb, const StopCheck& stop) {
    const double per_column = element_work<T> * m * m / 2.0;
    const int nc = std::clamp(static_cast<int>(block_work / std::max(per_column, 1.0)), 1, std::max(n, 1));
    for (int j = 0; j < n; j += nc) {
        if (stop_requested(stop)) return false;
        trsm(kind, m, std::min(nc, n - j), t, ldt, b + j, ldb);
    }
    return true;
}

template bool multiply_blocks(int, int, int, const double*, int, const double*, int, double*, int, Accumulate,
                              const StopCheck&);
template bool multiply_blocks(int, int, int, const Complex*, int, const Complex*, int, Complex*, int, Accumulate,
                              const StopCheck&);
template bool solve_blocks(Triangle, int, int, const double*, int, double*, int, const StopCheck&);
template bool solve_blocks(Triangle, int, int, const Complex*, int, Complex*, int, const StopCheck&);

}  // namespace ostrac::numeric

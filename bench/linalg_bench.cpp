// One dense matrix operation of the engine, timed: INV, DET or the product of
// random n by n matrices with elements uniform in [-1, 1] (real, or with
// complex parts drawn the same way). Prints the seconds, the memory the
// operation added at its peak in units of one operand's size (n n complex
// elements, 16 bytes each), and the OpenBLAS kernel in use. A smaller run of
// the same operation first wakes the BLAS's threads and buffers.
//   usage: linalg_bench inv|det|mul real|complex N
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "numeric/matrix.h"

namespace {

using ostrac::numeric::Matrix;

Matrix random_matrix(int n, bool complex, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    Matrix m(n, n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) m.at(i, j) = {d(rng), complex ? d(rng) : 0.0};
    }
    return m;
}

// A field of /proc/self/status, in kB.
long status_kb(const std::string& field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    }
    return 0;
}

// The kernel of the OpenBLAS the engine loaded for the operation.
std::string openblas_kernel() {
    void* library = ::dlopen("libopenblas.so.0", RTLD_NOW | RTLD_NOLOAD);
    void* corename = library != nullptr ? ::dlsym(library, "openblas_get_corename") : nullptr;
    return corename != nullptr ? reinterpret_cast<char* (*)()>(corename)() : "not loaded";
}

void run(const std::string& op, const Matrix& a, const Matrix& b) {
    if (op == "inv") {
        (void)ostrac::numeric::matrix_inverse(a);
    } else if (op == "det") {
        (void)ostrac::numeric::matrix_det(a);
    } else {
        (void)ostrac::numeric::matrix_mul(a, b);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: linalg_bench inv|det|mul real|complex N\n");
        return 2;
    }
    const std::string op = argv[1];
    const bool complex = std::string(argv[2]) == "complex";
    const int n = std::stoi(argv[3]);
    run(op, random_matrix(200, complex, 3), random_matrix(200, complex, 4));
    const Matrix a = random_matrix(n, complex, 1);
    const Matrix b = random_matrix(n, complex, 2);

    std::ofstream("/proc/self/clear_refs") << "5";  // the peak resident size starts again from here
    const long before = status_kb("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    run(op, a, b);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const double operand_kb = 16.0 * n * n / 1024.0;
    std::printf("%.4f %.2f %s\n", seconds.count(), (status_kb("VmHWM") - before) / operand_kb,
                openblas_kernel().c_str());
}

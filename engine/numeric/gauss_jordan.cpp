#include "numeric/gauss_jordan.h"

#include <algorithm>
#include <cstddef>

#include "numeric/complex.h"
#include "numeric/element_ops.h"

namespace ostrac::numeric {

template <class T>
EliminationOutcome gauss_jordan(T* w, T* companion, int n, int& exchanges, const StopCheck& stop) {
    const auto row = [n](T* m, int i) { return m + static_cast<std::ptrdiff_t>(i) * n; };
    exchanges = 0;
    for (int r = 0; r < n; ++r) {
        if (stop_requested(stop)) return EliminationOutcome::Stopped;
        int p = r;
        double largest = modulus(row(w, r)[r]);
        for (int i = r + 1; i < n; ++i) {
            const double m = modulus(row(w, i)[r]);
            if (m > largest) {
                largest = m;
                p = i;
            }
        }
        if (is_zero(row(w, p)[r])) return EliminationOutcome::Singular;
        if (p != r) {
            std::swap_ranges(row(w, p), row(w, p) + n, row(w, r));
            if (companion) std::swap_ranges(row(companion, p), row(companion, p) + n, row(companion, r));
            ++exchanges;
        }
        const T* wr = row(w, r);
        const T pivot = wr[r];
        for (int s = 0; s < n; ++s) {
            if (s == r) continue;
            T* ws = row(w, s);
            const T f = quotient(negated(ws[r]), pivot);
            for (int l = 0; l < n; ++l) add_product(ws[l], f, wr[l]);
            if (companion) {
                const T* cr = row(companion, r);
                T* cs = row(companion, s);
                for (int l = 0; l < n; ++l) add_product(cs[l], f, cr[l]);
            }
        }
    }
    if (companion) {
        for (int s = 0; s < n; ++s) {
            const T d = row(w, s)[s];
            T* cs = row(companion, s);
            for (int l = 0; l < n; ++l) cs[l] = quotient(cs[l], d);
        }
    }
    return EliminationOutcome::Done;
}

template EliminationOutcome gauss_jordan(double*, double*, int, int&, const StopCheck&);
template EliminationOutcome gauss_jordan(Complex*, Complex*, int, int&, const StopCheck&);

}  // namespace ostrac::numeric

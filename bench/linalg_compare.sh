#!/usr/bin/env bash
# INV, DET and the product of random n by n matrices, real and complex, for
# n = 200, 500, 1000 and 2000: the engine (linalg_bench) and numpy with
# OpenBLAS (linalg_numpy.py), each measurement a process of its own, the two
# sides in turn; prints the medians, the ratios, the engine's peak added
# memory in operand sizes, and the OpenBLAS kernel each side ran. numpy runs
# with OPENBLAS_CORETYPE and OPENBLAS_L2_SIZE unset, so that OpenBLAS picks
# its kernel for this processor itself.
#   usage: bench/linalg_compare.sh [RUNS]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"

source scripts/packages.sh
OSTRAC_PACKAGES=(python3-numpy)
ostrac_install_missing

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DOSTRAC_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target linalg_bench >/dev/null
ostrac=(build-bench/bench/linalg_bench)
numpy=(env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE /usr/bin/python3 bench/linalg_numpy.py)

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

echo "| operation | n | ostrac s | numpy s | ratio | ostrac memory |"
echo "|---|---|---|---|---|---|"
kernels=""
for n in 200 500 1000 2000; do
  for kind in real complex; do
    for op in inv det mul; do
      o="" p="" mem=""
      for ((r = 0; r < runs; r++)); do
        read -r t m ko < <("${ostrac[@]}" "$op" "$kind" "$n")
        read -r u kn < <("${numpy[@]}" "$op" "$kind" "$n")
        o+="$t"$'\n' p+="$u"$'\n' mem+="$m"$'\n'
        kernels="ostrac: $ko, numpy: $kn"
      done
      om=$(printf "%s" "$o" | median)
      pm=$(printf "%s" "$p" | median)
      mm=$(printf "%s" "$mem" | sort -g | tail -n 1)
      name=$(case $op in inv) echo INV ;; det) echo DET ;; mul) echo product ;; esac)
      awk -v w="$name, $kind" -v n="$n" -v o="$om" -v p="$pm" -v m="$mm" \
        'BEGIN {printf "| %s | %d | %.3f | %.3f | %.2f | %.2f |\n", w, n, o, p, o / p, m}'
    done
  done
done
echo "OpenBLAS kernels: $kernels"

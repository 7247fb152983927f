#!/usr/bin/env bash
# Runs the same workloads, whole process, in ostrac-cli, python3 and lua5.4,
# several times each in turn, and prints the median time of each and the
# ratios ostrac/python3 and ostrac/lua.
#   usage: bench/compare.sh [RUNS]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"

source scripts/packages.sh
OSTRAC_PACKAGES=(python3 lua5.4)
ostrac_install_missing

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DOSTRAC_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target ostrac-cli ostrac_library >/dev/null
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
cp build-bench/share/ostrac/data0.bin "$home"/

dir=bench/workloads
declare -A command=(
  [ostrac]="build-bench/cli/ostrac-cli --home $home"
  [python3]="/usr/bin/python3"
  [lua]="lua5.4"
)
declare -A suffix=([ostrac]=prg [python3]=py [lua]=lua)

seconds() {  # runs one workload once and prints the wall time in seconds
  local start end
  start=$(date +%s.%N)
  ${command[$1]} "$dir/$2.${suffix[$1]}" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN {print b - a}' 
}

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

printf "%-10s %10s %10s %10s %14s %12s\n" workload ostrac python3 lua ostrac/python3 ostrac/lua
for workload in loop primes calls inverse; do
  declare -A times=([ostrac]="" [python3]="" [lua]="")
  for ((r = 0; r < runs; r++)); do
    for tool in ostrac python3 lua; do times[$tool]+="$(seconds $tool $workload)"$'\n'; done
  done
  o=$(printf "%s" "${times[ostrac]}" | median)
  p=$(printf "%s" "${times[python3]}" | median)
  l=$(printf "%s" "${times[lua]}" | median)
  awk -v w="$workload" -v o="$o" -v p="$p" -v l="$l" \
    'BEGIN {printf "%-10s %10.3f %10.3f %10.3f %14.2f %12.2f\n", w, o, p, l, o / p, o / l}' 
done

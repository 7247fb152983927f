#!/usr/bin/env bash
# Counts the machine instructions one pass of each workload costs in
# ostrac-cli, python3 and lua5.4 (globals), with callgrind. Each workload runs
# at two sizes; the difference of the two counts, divided by the difference of
# the sizes, leaves start-up and the final print out. Counts, unlike times,
# hardly move on a busy machine, so they are the measure to compare.
#   usage: bench/instructions.sh [RUNS]   (default 3; the median is shown)
# The workloads are those of bench/workloads with their size replaced:
#   loop    passes of `s = s + i`
#   calls   passes of `s = s + f(i)` with f(x) = x*x + 1
#   primes  candidates tested by trial division with WHILE, IF and MOD
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-3}"

source scripts/packages.sh
OSTRAC_PACKAGES=(python3 lua5.4 valgrind)
ostrac_install_missing

# The same Release build as compare.sh.
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DOSTRAC_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j2 --target ostrac-cli ostrac_library >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp build-bench/share/ostrac/data0.bin "$work"/

declare -A command=(
  [ostrac]="build-bench/cli/ostrac-cli --home $work"
  [python3]="/usr/bin/python3"
  [lua]="lua5.4"
)
declare -A suffix=([ostrac]=prg [python3]=py [lua]=lua)
# The size each workload file holds, and the two sizes measured.
declare -A size=([loop]=10000000 [calls]=1000000 [primes]=30000)
declare -A small=([loop]=100000 [calls]=20000 [primes]=5000)
declare -A large=([loop]=200000 [calls]=40000 [primes]=10000)

# Writes workload $2 of tool $1 with size $3 and prints the file's name
# (python's range stops before its end, so its files hold the size + 1).
sized() {
  local file="$work/$2-$3.${suffix[$1]}"
  sed -e "s/\b${size[$2]}\b/$3/" -e "s/\b$((size[$2] + 1))\b/$(($3 + 1))/" \
    "bench/workloads/$2.${suffix[$1]}" >"$file"
  echo "$file"
}

# Instructions a whole run of tool $1 on workload $2 of size $3 takes.
counted() {
  local log="$work/callgrind.log"
  PYTHONHASHSEED=0 valgrind --tool=callgrind --callgrind-out-file=/dev/null \
    ${command[$1]} "$(sized "$1" "$2" "$3")" >/dev/null 2>"$log"
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$log"
}

# Lua seeds its string hashes from the clock and addresses, so its counts
# move by a few per cent from run to run: the median of several is taken.
per_pass() {
  local a b r
  for ((r = 0; r < runs; r++)); do
    a=$(counted "$1" "$2" "${small[$2]}")
    b=$(counted "$1" "$2" "${large[$2]}")
    echo $(((b - a) / (large[$2] - small[$2])))
  done | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

printf "%-10s %10s %10s %10s %14s %12s\n" workload ostrac python3 lua ostrac/python3 ostrac/lua
for workload in loop calls primes; do
  o=$(per_pass ostrac $workload)
  p=$(per_pass python3 $workload)
  l=$(per_pass lua $workload)
  awk -v w="$workload" -v o="$o" -v p="$p" -v l="$l" \
    'BEGIN {printf "%-10s %10d %10d %10d %14.2f %12.2f\n", w, o, p, l, o / p, o / l}'
done

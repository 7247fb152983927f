#!/usr/bin/env bash
# Two ostrac-cli processes save and load one home folder at the same time,
# PAIRS times each (default 3,000). Each keeps a matrix of its own size
# (300 or 30 rows), so that the loader refuses a torn file: a prefix, a mix,
# or a state with stale bytes behind it. Prints the counts; fails unless
# every save and every load succeeded.
# usage: concurrent_saves.sh CLI DATA0_BIN [PAIRS]
set -euo pipefail
cli="$1" data0="$2" pairs="${3:-3000}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
cp "$data0" "$home"/

side() {  # $1: the number of rows of this process's matrix
  for ((i = 0; i < pairs; i++)); do
    echo "big = [1]: big($1, $1) = 1"
    echo ":save"
    echo ":load"
  done | "$cli" --home "$home" > "$home/out.$1"
}
side 300 & first=$!
side 30 & second=$!
wait "$first" "$second" || true  # a failed save or load exits 1; the counts below tell

count() { cat "$home"/out.* | grep -c "$1" || true; }
echo "pairs: $pairs per process"
echo "saves done: $(count '^State Saved\.$'), failed: $(count '^Imposible guardar')"
echo "loads done: $(count '^State Loaded\.$'), refused as torn: $(count 'corrupto')"
[ "$(count '^State Saved\.$')" -eq $((2 * pairs)) ] && [ "$(count '^State Loaded\.$')" -eq $((2 * pairs)) ]

#!/usr/bin/env bash
# Runs every example of the help file through ostrac-cli, each in a fresh
# home folder holding the shared data files.
#
#   <pre class="example">   a console transcript: the lines starting with ">>"
#                           are typed (without the ">> "), and the whole
#                           output must equal the transcript.
#   <pre class="program">   a program file: it is saved and run with LOAD and
#                           must not stop with an error report (exit status 0).
#
# A class that also holds "approx" compares numbers to a relative 1e-6
# (results of approximations).
#
# usage: run_help_examples.sh CLI SHARED_DIR HELP_FILE
set -euo pipefail
cli="$1" shared="$2" help="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Every link inside the help leads to an anchor of it.
missing="$(comm -23 <(grep -o 'href="#[^"]*"' "$help" | sed 's/href="#//; s/"$//' | sort -u) \
                    <(grep -o 'name="[^"]*"' "$help" | sed 's/name="//; s/"$//' | sort -u))"
if [ -n "$missing" ]; then
  echo "links without an anchor: $missing"
  exit 1
fi

# One file per example: its first line is the class, the rest its text with
# the character entities of the help file decoded.
awk -v dir="$work" '
  function decode(s) {
    gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s); gsub(/&quot;/, "\"", s); gsub(/&amp;/, "\\&", s)
    return s
  }
  !inside && match($0, /<pre class="(example|program)[^"]*">/) {
    cls = substr($0, RSTART + 12, RLENGTH - 14)
    rest = substr($0, RSTART + RLENGTH)
    inside = 1; n++
    file = sprintf("%s/%03d.ex", dir, n)
    print cls > file
    $0 = rest
  }
  inside {
    end = index($0, "</pre>")
    line = end ? substr($0, 1, end - 1) : $0
    print decode(line) > file
    if (end) { inside = 0; close(file) }
  }
' "$help"

# Numbers equal to a relative 1e-6; everything else exactly.
approx_equal() {
  awk '
    function split_line(s, parts,    n) {
      n = 0
      while (match(s, /-?[0-9]+(\.[0-9]*)?(e[-+]?[0-9]+)?/)) {
        parts[++n] = "T" substr(s, 1, RSTART - 1)
        parts[++n] = "N" substr(s, RSTART, RLENGTH)
        s = substr(s, RSTART + RLENGTH)
      }
      parts[++n] = "T" s
      return n
    }
    function close_enough(a, b,    d, m) {
      d = a - b; if (d < 0) d = -d
      m = a < 0 ? -a : a; if ((b < 0 ? -b : b) > m) m = (b < 0 ? -b : b)
      return d <= 1e-12 || d <= 1e-6 * m
    }
    NR == FNR { want[FNR] = $0; wanted = FNR; next }
    {
      got_lines = FNR
      if (FNR > wanted) { bad = 1; exit }
      n = split_line(want[FNR], w); m = split_line($0, g)
      if (n != m) { bad = 1; exit }
      for (i = 1; i <= n; i++) {
        if (substr(w[i], 1, 1) == "N" && substr(g[i], 1, 1) == "N") {
          if (!close_enough(substr(w[i], 2) + 0, substr(g[i], 2) + 0)) { bad = 1; exit }
        } else if (w[i] != g[i]) { bad = 1; exit }
      }
    }
    END { exit (bad || got_lines != wanted) }
  ' "$1" "$2"
}

failures=0 checked=0
for example in "$work"/*.ex; do
  cls="$(head -n 1 "$example")"
  tail -n +2 "$example" > "$example.text"
  checked=$((checked + 1))
  home="$work/home"
  rm -rf "$home"; mkdir "$home"
  cp "$shared"/data0.bin "$home"/
  if [[ "$cls" == program* ]]; then
    cp "$example.text" "$home/example.prg"
    if ! (cd "$home" && "$cli" --home "$home" -q example.prg < /dev/null) > "$example.out"; then
      echo "FAILED program $(basename "$example"):"
      cat "$example.text"; echo "-- output:"; cat "$example.out"
      failures=$((failures + 1))
    fi
    continue
  fi
  sed -n 's/^>> \{0,1\}//p' "$example.text" > "$example.in"
  # Exit status 1: the transcript shows an error report.
  (cd "$home" && "$cli" --home "$home" < "$example.in") | tail -n +3 > "$example.out" || [ $? -eq 1 ]
  if [[ " $cls " == *" approx "* ]]; then
    approx_equal "$example.text" "$example.out" && continue
  else
    cmp -s "$example.text" "$example.out" && continue
  fi
  echo "FAILED example $(basename "$example"):"
  diff -u --label help "$example.text" --label ostrac-cli "$example.out" || true
  failures=$((failures + 1))
done

echo "$checked examples checked, $failures failed"
[ "$checked" -gt 0 ] && [ "$failures" -eq 0 ]

#!/usr/bin/env bash
# Runs ostrac-cli with arguments and standard input from a table of cases and
# compares the exit status, standard output and the first line of standard
# error. It runs in an empty folder, so that a relative FILE is found in the
# home folder, as LOAD finds it.  usage: run_cases.sh CLI SHARED_DIR VERSION
set -uo pipefail
cli="$1" shared="$2" version="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
home="$work/home"
mkdir "$home" "$work/cwd"
cp "$shared"/data0.bin "$home"/
printf '#!/usr/bin/env ostrac-cli\nprint 5\n' > "$home/script.prg"
printf '#!/usr/bin/env ostrac-cli\nprint 5\nprint 1+\n' > "$home/wrong.prg"

checked=0 failures=0
input=''
# case STATUS STDOUT STDERR ARG...   (standard input: the text of $input)
case_() {
  local want_status="$1" want_out="$2" want_err="$3"
  shift 3
  local out status err
  out="$(cd "$work/cwd" && printf '%s' "$input" | "$cli" --home "$home" "$@" 2> "$work/stderr")"
  status=$?
  err="$(head -n 1 "$work/stderr")"
  checked=$((checked + 1))
  if [ "$status" != "$want_status" ] || [ "$out" != "$want_out" ] || [ "$err" != "$want_err" ]; then
    failures=$((failures + 1))
    printf 'FAILED: ostrac-cli %s\n  status %s, wanted %s\n' "$*" "$status" "$want_status"
    diff -u --label wanted <(printf '%s\n%s\n' "$want_out" "$want_err") --label got <(printf '%s\n%s\n' "$out" "$err")
  fi
}

case_ 0 $'Ostrac initialized ok\nType load "tutorial" to see the tutorial\n>> print 1\n1' '' -e 'print 1'
case_ 0 '1' '' -q -e 'print 1'
case_ 1 $'1\nparse error in print (line=0)\nSintax error line=0\n3' '' -q -e 'print 1' -e 'print a(' -e 'print 3'
case_ 1 'Program Halted! line=1' '' -q -e 'halt'
case_ 1 'Unknown command :x (:save or :load)' '' -q -e ':x'
case_ 1 'Imposible abrir fichero de estado line=0' '' -q -e ':load'
case_ 1 'Not possible while a program is paused' '' -q -e 'input x' -e ':save'
case_ 0 '5' '' -q script.prg
# The "#!" line is skipped but counted: the error is on line 2 counting from 0.
case_ 1 $'parse error in print (line=2)\nSintax error line=2' '' -q wrong.prg
case_ 2 '' 'ostrac-cli: cannot open missing.prg: No such file or directory' -e 'print 1' missing.prg
case_ 2 '' 'ostrac-cli: cannot open .: Is a directory' .
case_ 2 '' 'ostrac-cli: unknown option --bogus' --bogus
case_ 2 '' 'ostrac-cli: option -e needs a value' -e
case_ 2 '' 'ostrac-cli: option --quiet takes no value' --quiet=1
case_ 0 "ostrac-cli $version" '' --version
input=$'x = 1\nprint x'
case_ 0 '1' '' -q
input=$'x = 1\nprint x('
case_ 1 $'parse error in print (line=0)\nSintax error line=0' '' -q
# "-" reads one program, as LOAD does: the loop spans lines.
input=$'for i = 1 to 2\nprint i\nnext'
case_ 0 $'1\n2' '' -q -
case_ 0 $'Ostrac initialized ok\nType load "tutorial" to see the tutorial\n>> load "/dev/stdin"\n1\n2' '' -

echo "$((checked - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]

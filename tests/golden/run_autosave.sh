#!/usr/bin/env bash
# ostrac-cli --autosave: the session comes back in the next run, a run
# without the option neither loads nor saves it, and SIGTERM while a program
# runs breaks the program, saves, and ends the process by the signal.
#   usage: run_autosave.sh CLI SHARED_DIR
set -euo pipefail
cli="$1" shared="$2"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
cp "$shared"/data0.bin "$home"/
run() { "$cli" --home "$home" "$@" < /dev/null | tail -n +3; }
fail() { echo "FAILED: $*"; exit 1; }

run --autosave -e 'x = 42' > /dev/null
[ "$(run -e 'x = 1' -e 'print x')" = $'>> x = 1\n>> print x\n1' ] || fail "x = 1 without --autosave"
[ "$(run --autosave -e 'print x')" = $'>> print x\n42' ] || fail "x did not come back, or a run without --autosave saved"

"$cli" --home "$home" --autosave -e 'y = 5' -e 'while 1 do y = y + 1: endwhile' < /dev/null > "$home/out" &
pid=$!
for _ in $(seq 300); do grep -q endwhile "$home/out" && break; sleep 0.1; done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" = 143 ] || fail "ended with status $status, not by SIGTERM"
grep -qx 'User Halted!' "$home/out" || fail "the loop was not broken"
[ "$(run --autosave -e 'print y > 5, " ", x')" = $'>> print y > 5, " ", x\n1 42' ] || fail "the state after the break was not saved"
echo "autosave of ostrac-cli checked"

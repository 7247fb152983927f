#!/usr/bin/env bash
# Runs one golden script through ostrac-cli in a fresh home folder holding
# the shared data files and the program files of files/, and compares
# standard output with the expected pane lines; arguments after EXPECTED go to
# ostrac-cli.  usage: run_golden.sh CLI SHARED_DIR SCRIPT EXPECTED [OPTION]...
set -euo pipefail
cli="$1" shared="$2" script="$3" expected="$4"
shift 4
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
cp "$shared"/data0.bin "$shared"/tutorial "$(dirname "$0")"/files/* "$home"/
# Exit status 1 says that a line ended in an error report; more is a crash.
(cd "$home" && "$cli" --home "$home" "$@" < "$script") > "$home/actual.out" || [ $? -eq 1 ]
diff -u "$expected" "$home/actual.out"

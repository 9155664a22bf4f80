#!/usr/bin/env bash
# Runs one step of `make run` quietly: prints its note on one line, keeps the command's output
# aside, and shows it only when the command fails (with the command's exit status).
#
#   scripts/passo.sh "Compilando o KELM" cmake --build --preset release
set -uo pipefail
nota=$1
shift
registro=$(mktemp)
trap 'rm -f "$registro"' EXIT
printf '%s...\n' "$nota"
if ! "$@" > "$registro" 2>&1; then
  status=$?
  cat "$registro" >&2
  printf 'Falhou: %s\n' "$nota" >&2
  exit "$status"
fi

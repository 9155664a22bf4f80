#!/usr/bin/env bash
# Compares the two evaluations on the same machine, one after the other:
#  1. one trial move (draw, apply, evaluate, undo), N = 10, 20, 40 (Google Benchmark);
#  2. whole runs of kelm-lote on the bundled 20-team championship (38 rounds) with
#     --avaliacao completa and incremental: times, ratio, and whether the files agree;
#  3. the compact championship (19 rounds), whose first phase reheats: both evaluations with
#     the first phase bounded to KELM_BENCH_REAQ reheats (default 3);
#  4. the padrao and the compact search, whole runs, on the 20-team compact championship
#     and on the 24-team one: time, reheats, Inviabilidades 1, 2, 3 and 5, FO_STAR.
# Usage: scripts/bench.sh [build folder]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build/release}
LOTE="$BUILD/src/kelm-lote"
REAQ=${KELM_BENCH_REAQ:-3}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

echo "== Um movimento de teste (sorteio, movimento, avaliação, desfazer)"
"$BUILD/bench/bench_movimento" --benchmark_min_time=0.5 2>&1 | grep -v '^\*\*\*WARNING'

# run NAME DATA OPTIONS...: runs kelm-lote, prints its time, leaves the result in $TMP/NAME.txt
roda() {
  local nome=$1 dados=$2
  shift 2
  local inicio fim
  inicio=$(date +%s.%N)
  set +e
  "$LOTE" "$dados" --silencioso -o "$TMP/$nome.txt" "$@" 2> "$TMP/$nome.err"
  local status=$?
  set -e
  fim=$(date +%s.%N)
  if [ $status -ne 0 ] && [ $status -ne 3 ]; then cat "$TMP/$nome.err"; exit 1; fi
  local mov
  mov=$(sed -n 's/^Movimentos avaliados: //p' "$TMP/$nome.err")
  awk -v n="$nome" -v i="$inicio" -v f="$fim" -v m="$mov" \
    'BEGIN { t = f - i; printf "  %-36s %8.3f s  %11d movimentos  %12.0f movimentos/s\n", n, t, m, m / t }'
  echo "$inicio $fim" > "$TMP/$nome.tempo"
}

razao() {
  awk -v a="$(cat "$TMP/$1.tempo")" -v b="$(cat "$TMP/$2.tempo")" 'BEGIN {
    split(a, x, " "); split(b, y, " "); printf "  razão completa / incremental: %.1f vezes\n", (x[2] - x[1]) / (y[2] - y[1]) }'
}

iguais() {
  if cmp -s <(grep -av '^Tempo:' "$TMP/$1.txt") <(grep -av '^Tempo:' "$TMP/$2.txt"); then
    echo "  arquivos de resultado idênticos (fora a linha Tempo)"
  else
    echo "  ERRO: os arquivos de resultado diferem"; exit 1
  fi
}

echo
echo "== Campeonato de 20 times, 38 rodadas (exemplos/brasileirao_2023.dat)"
roda completa_38 exemplos/brasileirao_2023.dat --avaliacao completa
roda incremental_38 exemplos/brasileirao_2023.dat --avaliacao incremental
razao completa_38 incremental_38
iguais completa_38 incremental_38

echo
echo "== Campeonato compacto de 20 times, 19 rodadas, primeira fase com até $REAQ reaquecimentos"
roda completa_19 exemplos/brasileirao_2023_turno.dat --avaliacao completa --max-reaquecimentos "$REAQ"
roda incremental_19 exemplos/brasileirao_2023_turno.dat --avaliacao incremental --max-reaquecimentos "$REAQ"
razao completa_19 incremental_19
iguais completa_19 incremental_19

# The two searches on the compact championships, whole runs with the default bound: time,
# reheats, Inviabilidades 1, 2, 3 and 5 of the result, and FO_STAR.
linha_busca() {
  local nome=$1
  awk -v n="$nome" -v t="$(awk '{ printf "%.2f", $2 - $1 }' "$TMP/$nome.tempo")" '
    /^Inviabilidade [1235]:/ { inv = inv " " $3 }
    /^Reaquecimentos:/ { r = $2 }
    /^FO_STAR:/ { fo = $2 }
    END { printf "  %-28s %8s s  %15s  %8s  %18s\n", n, t, r, inv, fo }' "$TMP/$nome.err"
}

echo
echo "== As duas buscas nos campeonatos compactos (execução inteira, limite padrão de 50 reaquecimentos)"
printf "  %-28s %10s  %15s  %8s  %18s\n" "" "tempo" "reaquecimentos" "inv 1235" "FO_STAR"
for dados in brasileirao_2023_turno brasileirao_24_clubes; do
  for busca in padrao compacta; do
    roda "${dados}_$busca" "exemplos/$dados.dat" --busca "$busca" > /dev/null
    linha_busca "${dados}_$busca"
  done
done

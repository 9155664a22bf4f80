#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, with AddressSanitizer and
# UndefinedBehaviorSanitizer), replays every input kept in fuzz/regressoes/, then runs each
# target for a few seconds from its seed corpus. Fails when any target fails; the input
# that broke it is kept in build/fuzz/falhas/. Long runs: see fuzz/CMakeLists.txt.
#   KELM_FUZZ_SEGUNDOS  seconds per target (default 6)
set -euo pipefail
cd "$(dirname "$0")/.."

JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}
SEGUNDOS=${KELM_FUZZ_SEGUNDOS:-6}
BUILD=build/fuzz
ALVOS=(dados distancias nomes peso carga resultado requisitos tabela calendario)

echo "== Fuzzing curto (${SEGUNDOS} s por alvo, build/fuzz)"
cmake -S . -B "$BUILD" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKELM_FUZZ=ON -DKELM_TESTS=OFF -DKELM_GUI=OFF -DKELM_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "$JOBS" --target "${ALVOS[@]/#/fuzz_}"

trabalho=$(mktemp -d "${TMPDIR:-/tmp}/kelm-fuzz-curto-XXXXXX")
trap 'rm -rf "$trabalho"' EXIT
falhas="$BUILD/falhas"

falhou() {  # alvo log
  echo "FALHOU: fuzz_$1 (registro: $falhas/fuzz_$1.log)" >&2
  mkdir -p "$falhas"
  cp "$2" "$falhas/fuzz_$1.log"
  cp "$trabalho"/crash-* "$trabalho"/timeout-* "$trabalho"/oom-* "$trabalho"/leak-* "$falhas/" 2>/dev/null || true
  tail -n 30 "$2" >&2
  exit 1
}

for alvo in "${ALVOS[@]}"; do
  exe="$BUILD/fuzz/fuzz_$alvo"
  log="$trabalho/$alvo.log"
  opcoes=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$trabalho/")
  case $alvo in
    peso) opcoes+=(-max_len=256) ;;
    carga) opcoes+=(-max_len=4096) ;;
    resultado|tabela) opcoes+=(-max_len=8192) ;;
    requisitos|calendario) opcoes+=(-max_len=4096) ;;
  esac

  regressoes=()
  if [ -d "fuzz/regressoes/$alvo" ]; then
    while IFS= read -r -d '' f; do regressoes+=("$f"); done < <(find "fuzz/regressoes/$alvo" -type f -print0)
  fi
  if [ ${#regressoes[@]} -gt 0 ]; then
    "$exe" "${opcoes[@]}" "${regressoes[@]}" >"$log" 2>&1 || falhou "$alvo" "$log"
  fi

  mkdir -p "$trabalho/$alvo"
  "$exe" "${opcoes[@]}" -max_total_time="$SEGUNDOS" -print_final_stats=1 -dict="fuzz/dicionarios/$alvo.dict" \
    "$trabalho/$alvo" "fuzz/corpus/$alvo" >"$log" 2>&1 || falhou "$alvo" "$log"
  execucoes=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz_$alvo: ${execucoes:-?} execuções, ${#regressoes[@]} regressões, sem falhas"
done

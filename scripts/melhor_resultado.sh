#!/usr/bin/env bash
# Picks the best of many result files, for instance of runs with different seeds made at
# once (GNU parallel, xargs -P, or an array job of a cluster scheduler): the one with the
# lowest FO_STAR among those whose Inviabilidades 1, 2, 3 and 5 are all 0, and 10 (the
# planner's requirements not met) when the run had requirements: a schedule that can be
# published; or among all of them when none is. Prints its name and FO_STAR, and
# copies it to PASTA/melhor.txt.
#
#   scripts/melhor_resultado.sh PASTA
set -euo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "Uso: $0 PASTA   (a pasta com os arquivos de resultado do kelm-lote)" >&2
  exit 2
fi
pasta=$1

melhor=$(
  for arquivo in "$pasta"/*; do
    [ -f "$arquivo" ] && [ "$(basename "$arquivo")" != melhor.txt ] || continue
    # The header lines "InvK:<tab>value" and "FO_STAR:<tab>value", CR LF, maybe a decimal comma.
    tr -d '\r' < "$arquivo" | awk -F '\t' -v nome="$arquivo" '
      /^Inv([1235]|10):/ { sub(",", ".", $2); if ($2 + 0 != 0) pendente = 1 }
      /^FO_STAR:/ { sub(",", ".", $2); fo = $2; achou = 1 }
      END { if (achou) printf "%d\t%s\t%s\n", pendente, fo, nome }'
  done | sort -t "$(printf '\t')" -k1,1n -k2,2g | head -n 1
)

if [ -z "$melhor" ]; then
  echo "Nenhum arquivo de resultado em $pasta." >&2
  exit 1
fi
IFS=$'\t' read -r pendente fo arquivo <<< "$melhor"
cp "$arquivo" "$pasta/melhor.txt"
echo "Melhor resultado: $arquivo (FO_STAR $fo), copiado para $pasta/melhor.txt"
if [ "$pendente" -ne 0 ]; then
  echo "Atenção: nenhum resultado tem as inviabilidades 1, 2, 3 e 5 (e a 10, dos requisitos) todas zeradas." >&2
fi

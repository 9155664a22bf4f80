#!/usr/bin/env bash
# Makes the manual page of kelm-lote from its own help text: help2man with Portuguese headings
# (locale pt_BR.UTF-8) and the sections of kelm-lote.h2m; then a break point after every comma
# followed by a digit and lines aligned on the left only, so that the list of default weights,
# which has no blanks, wraps at 80 columns without troff's warnings; gzip -9n.
#   manual_lote.sh KELM_LOTE ARQUIVO.h2m SAIDA.1.gz
set -euo pipefail

programa=$1
inclusao=$2
saida=$3

pagina=$(help2man --locale=pt_BR.UTF-8 --no-info --section=1 \
  --name="monta a tabela de jogos de um campeonato de futebol" \
  --include="$inclusao" "$programa")
sed -e 's/,\([0-9]\)/,\\:\1/g' -e '/^\.TH /a .ad l' <<<"$pagina" | gzip -9n >"$saida.tmp"
mv "$saida.tmp" "$saida"

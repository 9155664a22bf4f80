#!/usr/bin/env bash
# Makes the manual page of kelm-lote from its own help text: help2man with Portuguese headings
# (locale pt_BR.UTF-8) and the sections of kelm-lote.h2m; then a break point after every comma
# followed by a digit and lines aligned on the left only, so that the list of default weights,
# which has no blanks, wraps at 80 columns without troff's warnings; and in the synopsis the
# option --avaliar in bold, as an option, rather than in italics as a value. The page is
# compressed as it is installed (instala_manuais.cmake).
#   manual_lote.sh KELM_LOTE ARQUIVO.h2m SAIDA.1
set -euo pipefail

programa=$1
inclusao=$2
saida=$3

pagina=$(help2man --locale=pt_BR.UTF-8 --no-info --section=1 \
  --name="monta a tabela de jogos de um campeonato de futebol" \
  --include="$inclusao" "$programa")
sed -e 's/,\([0-9]\)/,\\:\1/g' -e '/^\.TH /a .ad l' \
  -e 's/^\\fI\\,--avaliar RESULTADO \\\/\\fR/\\fB\\-\\-avaliar\\fR \\fIRESULTADO\\fR /' <<<"$pagina" >"$saida.tmp"
grep -q '^\.SH SINOPSE' "$saida.tmp" && grep -q '^\\fB\\-\\-avaliar' "$saida.tmp" || {
  echo "manual_lote.sh: a sinopse não tem as duas linhas de uso" >&2
  exit 1
}
mv "$saida.tmp" "$saida"

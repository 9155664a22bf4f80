#!/usr/bin/env bash
# Installs a build into a temporary prefix (cmake --install --prefix) and checks the result
# where a desktop and a terminal look for it: the installed kelm-lote answers --versao and
# draws the known schedule of the installed example; the desktop entry is valid and names an
# installed program and icon; the icons have their sizes; the manual pages are compressed, in
# Portuguese, name the examples where this install put them, and the one of kelm-lote lists
# every option of its help text and both usage lines; nothing but the programs goes to bin,
# and no static library is installed.
#   testa_instalacao.sh BUILD VERSÃO COM_JANELA(0|1) RESULTADO_ESPERADO
set -euo pipefail

build=$1
versao=$2
com_janela=$3
esperado=$4

falhas=0
falha() { echo "FALHA: $*" >&2; falhas=$((falhas + 1)); }

prefixo=$(mktemp -d "${TMPDIR:-/tmp}/kelm-instalacao-XXXXXX")
trap 'rm -rf "$prefixo"' EXIT

if ! registro=$(cmake --install "$build" --prefix "$prefixo" 2>&1); then
  echo "$registro" >&2
  exit 1
fi

# The programs, and nothing else, in bin; no static libraries anywhere.
programas="kelm-lote"
[ "$com_janela" = 1 ] && programas="kelm kelm-lote"
instalados=$(cd "$prefixo/bin" && ls | sort | xargs)
[ "$instalados" = "$programas" ] || falha "bin tem '$instalados', esperado '$programas'"
estaticas=$(find "$prefixo" -name '*.a')
[ -z "$estaticas" ] || falha "bibliotecas estáticas instaladas: $estaticas"

lote="$prefixo/bin/kelm-lote"
[ -x "$lote" ] || { falha "kelm-lote não instalado"; exit 1; }

# --versao: the program's name and the project's version.
saida=$("$lote" --versao) || falha "kelm-lote --versao saiu com $?"
[ "$saida" = "kelm-lote (KELM) $versao" ] || falha "kelm-lote --versao escreveu '$saida'"

# The installed program on the installed example: the schedule kept with the end-to-end tests.
exemplo="$prefixo/share/kelm/exemplos/nordeste.dat"
if "$lote" --silencioso -o "$prefixo/resultado.txt" "$exemplo" 2>"$prefixo/erros.txt"; then
  primeira=$(head -n 1 "$prefixo/resultado.txt" | tr -d '\r')
  case $primeira in Inv1:*) ;; *) falha "o resultado começa com '$primeira'" ;; esac
  cmp -s <(grep -av '^Tempo:' "$prefixo/resultado.txt") <(grep -av '^Tempo:' "$esperado") ||
    falha "o resultado do exemplo instalado difere de $esperado"
else
  falha "kelm-lote no exemplo instalado saiu com $?: $(cat "$prefixo/erros.txt")"
fi

# Both manual pages name the installed folder of examples (this prefix's, whatever the build
# was configured with) and every bundled championship in it.
confere_exemplos() {  # nome texto
  grep -qF "$prefixo/share/kelm/exemplos" <<<"$2" || falha "o manual do $1 não dá a pasta dos exemplos sob $prefixo"
  ! grep -qE '@PASTA_EXEMPLOS@|/usr/local' <<<"$2" || falha "o manual do $1 dá outra pasta de exemplos"
  for dados in "$prefixo"/share/kelm/exemplos/*.dat; do
    grep -qF "$(basename "$dados")" <<<"$2" || falha "o manual do $1 não cita $(basename "$dados")"
  done
}

# Manual pages: gzip, Portuguese headings, both usage lines in the synopsis, and every long
# option of the help text.
manual="$prefixo/share/man/man1/kelm-lote.1.gz"
if gzip -t "$manual" 2>/dev/null; then
  texto=$(gzip -dc "$manual" | sed 's/\\-/-/g')
  for titulo in NOME SINOPSE DESCRIÇÃO OPÇÕES; do
    grep -q "^\.SH $titulo" <<<"$texto" || falha "o manual do kelm-lote não tem a seção $titulo"
  done
  sinopse=$(sed -n '/^\.SH SINOPSE/,/^\.SH/p' <<<"$texto")
  [ "$(grep -c '^\.B kelm-lote' <<<"$sinopse")" = 2 ] && grep -q -- '--avaliar' <<<"$sinopse" ||
    falha "a sinopse do kelm-lote não tem as duas linhas de uso: $sinopse"
  for opcao in $("$lote" --ajuda | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$opcao" <<<"$texto" || falha "o manual do kelm-lote não fala de $opcao"
  done
  grep -qF 'sem-encontro TIME TIME rodadas LISTA' <<<"$texto" || falha "o manual do kelm-lote não dá a sintaxe dos requisitos"
  confere_exemplos kelm-lote "$texto"
else
  falha "manual do kelm-lote ausente ou não comprimido: $manual"
fi

if [ "$com_janela" = 1 ]; then
  if gzip -t "$prefixo/share/man/man1/kelm.1.gz" 2>/dev/null; then
    texto=$(gzip -dc "$prefixo/share/man/man1/kelm.1.gz")
    confere_exemplos kelm "$texto"
    # The run command has no key: F2 does nothing.
    ! grep -q 'F2' <<<"$texto" || falha "o manual do kelm promete a tecla F2"
  else
    falha "manual do kelm ausente ou não comprimido"
  fi

  entrada="$prefixo/share/applications/kelm.desktop"
  if [ -f "$entrada" ]; then
    desktop-file-validate "$entrada" || falha "desktop-file-validate recusou $entrada"
    exec_=$(sed -n 's/^Exec=//p' "$entrada")
    [ -x "$prefixo/bin/${exec_%% *}" ] || falha "Exec=$exec_ não é um programa instalado"
    icone=$(sed -n 's/^Icon=//p' "$entrada")
    [ "$icone" = kelm ] || falha "Icon=$icone"
  else
    falha "entrada de menu ausente: $entrada"
  fi

  temas="$prefixo/share/icons/hicolor"
  grep -q '<svg' "$temas/scalable/apps/kelm.svg" 2>/dev/null || falha "ícone SVG ausente"
  for tamanho in 48 128; do
    tipo=$(file -b "$temas/${tamanho}x$tamanho/apps/kelm.png" 2>&1)
    case $tipo in "PNG image data, $tamanho x $tamanho,"*) ;; *) falha "ícone de $tamanho px: $tipo" ;; esac
  done
fi

if [ "$falhas" -gt 0 ]; then
  echo "$falhas falha(s) na instalação em $prefixo" >&2
  exit 1
fi
echo "instalação conferida"

#!/usr/bin/env bash
# Photographs the desktop program under a virtual display of 1366 x 768 (a small laptop's
# screen, which every dialog must fit), so that anyone can look at it without a desktop: the
# start of `kelm` itself, then a whole session played by kelm_vitrine in the same windows (the
# open dialog, load of the 20-team championship, the initial table, the objectives, weights
# and parameters dialogs, the progress panel during the run, the end message, the result
# table, the coin, the season at a glance, the print preview, the save dialog and its message,
# the coin after a compact run, and a season under the planner's requirements: their message,
# the marked initial table, the progress panel and the coin; last, a long run stopped with
# "Parar": its progress panel and the result it kept). The PNG files go to screenshots/ (or
# the folder given).
#
#   scripts/screenshot.sh [PASTA]        BUILD=build/release by default
set -euo pipefail
cd "$(dirname "$0")/.."

SAIDA=${1:-screenshots}
BUILD=${BUILD:-build/release}
JOBS=${JOBS:-2}

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DKELM_BENCH=OFF >/dev/null
fi
cmake --build "$BUILD" -j "$JOBS" --target kelm kelm_vitrine >/dev/null
mkdir -p "$SAIDA"
SAIDA=$(cd "$SAIDA" && pwd)

# A free display number.
TELA=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then TELA=$n; break; fi
done
[ -n "$TELA" ] || { echo "screenshot: nenhum número de tela livre" >&2; exit 1; }

XPID=""
APID=""
encerra() {
  if [ -n "$APID" ] && kill -0 "$APID" 2>/dev/null; then kill "$APID" 2>/dev/null || true; wait "$APID" 2>/dev/null || true; fi
  if [ -n "$XPID" ] && kill -0 "$XPID" 2>/dev/null; then kill "$XPID" 2>/dev/null || true; wait "$XPID" 2>/dev/null || true; fi
}
trap encerra EXIT

Xvfb ":$TELA" -screen 0 1366x768x24 -nolisten tcp >"$SAIDA/xvfb.log" 2>&1 &
XPID=$!
timeout 10 bash -c "until [ -S /tmp/.X11-unix/X$TELA ]; do sleep 0.1; done"

# Portuguese regional settings when the machine has them.
IDIOMA=C.UTF-8
if locale -a 2>/dev/null | grep -qix 'pt_BR.utf8'; then IDIOMA=pt_BR.UTF-8; fi
export DISPLAY=":$TELA" LANG="$IDIOMA" LC_ALL="$IDIOMA" QT_QPA_PLATFORM=xcb

# The program itself, as it starts.
"$BUILD/src/ui/kelm" >"$SAIDA/kelm.log" 2>&1 &
APID=$!
sleep 2
timeout 20 import -window root "$SAIDA/00_kelm.png"
kill "$APID"; wait "$APID" 2>/dev/null || true
APID=""

# The session.
timeout 300 "$BUILD/ferramentas/kelm_vitrine" "$SAIDA" >"$SAIDA/vitrine.log" 2>&1 || {
  echo "screenshot: kelm_vitrine falhou; veja $SAIDA/vitrine.log" >&2
  exit 1
}

ls -1 "$SAIDA"/*.png

#!/usr/bin/env bash
# Installs the Debian packages that building, testing, benchmarking and packaging KELM need.
# Does nothing when everything is already present.
set -euo pipefail

PKGS=(
  g++ clang cmake make                       # compilers and build
  libgtest-dev libgmock-dev                   # core tests
  libbenchmark-dev                            # bench/
  libclang-rt-14-dev                          # libFuzzer and sanitizer runtimes
  qt6-base-dev qt6-translations-l10n          # the desktop program and its tests
  libxlsxwriter-dev pkg-config                # the .xlsx workbook
  libical-dev                                 # the calendars exported in iCalendar
  python3-openpyxl poppler-utils              # tests: the workbook read back, the PDF's text
  python3-icalendar                           # tests: the calendars read back
  xvfb xauth imagemagick                      # screenshots under a virtual display
  librsvg2-bin                                # pacote/gera_icones.sh: the icon's PNGs
  help2man gzip                               # the manual page of kelm-lote
  dpkg-dev file desktop-file-utils lintian    # the Debian package and its checks
  fonts-dejavu-core fontconfig locales
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: instalando ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A Brazilian locale, so that the programs and tests can be tried with the decimal comma.
if ! locale -a 2>/dev/null | grep -qix 'pt_BR.utf8'; then
  if [ -f /etc/locale.gen ]; then
    $SUDO sed -i 's/^# *\(pt_BR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^pt_BR.UTF-8 UTF-8' /etc/locale.gen || echo 'pt_BR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
fi

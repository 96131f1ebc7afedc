#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build, the program and the tests need.
# Only missing packages are installed; sudo is used when not running as root.
set -euo pipefail

# Liberation Sans is the program's font; the caption test checks the layout in
# DejaVu Sans too, the font a desktop without it gives. scdoc turns the man
# pages into troff and rsvg-convert renders the icon's PNG sizes. libzint
# draws the medication plan's DataMatrix code, zxing-cpp reads it back from
# a picture. The program reads long lists through SQLite itself
# (libsqlite3-dev).
packages=(
    build-essential cmake make
    qtbase5-dev libqt5sql5-sqlite qttranslations5-l10n libsqlite3-dev
    pkg-config libzint-dev libzxing-dev
    fonts-liberation fonts-dejavu-core poppler-utils
    scdoc librsvg2-bin
)
# --server adds the PostgreSQL server (its tests start a throwaway cluster
# through pg_virtualenv from postgresql-common) and Qt's driver for it; with
# --qt6 as well, the Qt 6 driver instead of the Qt 5 one.
qt6=false
server=false
for option in "$@"; do
    case "$option" in
        --format) packages+=(clang-format) ;;
        # make deb and make deb-check: dependencies of the package (dpkg-shlibdeps,
        # which CPack finds ELF files for with file) and the validators.
        --paket) packages+=(dpkg-dev file lintian desktop-file-utils appstream man-db) ;;
        --qt6)
            qt6=true
            packages+=(qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n libgl-dev)
            ;;
        --bench) packages+=(libbenchmark-dev libsqlite3-dev) ;;
        --server) server=true ;;
        *)
            echo "install-deps.sh: unknown option $option" >&2
            exit 2
            ;;
    esac
done
if $server; then
    packages+=(postgresql postgresql-common)
    if $qt6; then packages+=(libqt6sql6-psql); else packages+=(libqt5sql5-psql); fi
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

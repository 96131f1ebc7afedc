#!/usr/bin/env bash
# Checks the Debian package that "make deb" made in the given build folder, as
# a user's machine would meet it: lintian, the desktop entry and AppStream
# validators, the files in the package against those "make install" installs,
# and the unpacked programs started headless (--version without a display,
# --help naming the installed help document, and the program opening a sample
# database and ending at once). Run by "make deb-check".
set -euo pipefail
bau="${1:?usage: scripts/paket-pruefen.sh BUILD_FOLDER}"
cd "$(dirname "$0")/.."

pakete=("$bau"/kalvoria_*.deb)
[ ${#pakete[@]} -eq 1 ] && [ -f "${pakete[0]}" ] || { echo "no single package in $bau" >&2; exit 1; }
paket="${pakete[0]}"
version="$(dpkg-deb -f "$paket" Version)"
version="${version%-*}"
echo "== $paket (version $version)"
dpkg-deb --info "$paket" | sed -n '/Package:/,$p'

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
wurzel="$scratch/wurzel"

fehler=0
falsch() {
    echo "FEHLER: $*" >&2
    fehler=1
}

echo "== lintian"
# Errors and warnings fail; info tags are shown.
lintian --fail-on error,warning --display-info "$paket"

dpkg -x "$paket" "$wurzel"
id=de.kalvoria.Kalvoria

echo "== desktop-file-validate"
# Its hints (another category could be added) pass; warnings and errors fail.
ausgabe="$(desktop-file-validate "$wurzel/usr/share/applications/$id.desktop" 2>&1)" || falsch "desktop-file-validate"
echo "${ausgabe:-(clean)}"
if grep -Eq 'error:|warning:' <<<"$ausgabe"; then falsch "desktop-file-validate found errors or warnings"; fi

echo "== appstreamcli validate --no-net, validate-tree --no-net"
# Without network: the screenshot and homepage addresses are not fetched.
appstreamcli validate --no-net "$wurzel/usr/share/metainfo/$id.metainfo.xml" || falsch "appstreamcli validate"
# The whole tree too: the metainfo with its desktop entry and icons.
appstreamcli validate-tree --no-net "$wurzel" || falsch "appstreamcli validate-tree"

echo "== files"
for datei in usr/bin/kalvoria usr/bin/kalvoria_beispieldaten usr/share/kalvoria/Kalvoria.pdf \
    usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/16x16/apps/$id.png \
    usr/share/icons/hicolor/256x256/apps/$id.png usr/share/man/man1/kalvoria.1.gz \
    usr/share/man/man1/kalvoria_beispieldaten.1.gz usr/share/doc/kalvoria/copyright \
    usr/share/doc/kalvoria/changelog.Debian.gz; do
    [ -f "$wurzel/$datei" ] || falsch "missing in the package: /$datei"
done
# "make install" installs the same files as the package (without stripping).
DESTDIR="$scratch/installiert" cmake --install "$bau" --prefix /usr >/dev/null
diff <(cd "$wurzel" && find . -type f | sort) <(cd "$scratch/installiert" && find . -type f | sort) ||
    falsch "the package and make install differ"
(cd "$wurzel" && find . -type f | sort)

echo "== the installed programs"
programm="$wurzel/usr/bin/kalvoria"
# No display at all: --version must not ask for one.
ausgabe="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$programm" --version)"
echo "$ausgabe"
[ "$ausgabe" = "kalvoria $version" ] || falsch "kalvoria --version printed \"$ausgabe\", not \"kalvoria $version\""
ausgabe="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$programm" --help)"
grep -Fx "Anleitung: $wurzel/usr/share/kalvoria/Kalvoria.pdf" <<<"$ausgabe" ||
    falsch "kalvoria --help names no installed help document: $ausgabe"
export HOME="$scratch/heim" XDG_CONFIG_HOME="$scratch/heim/.config" XDG_RUNTIME_DIR="$scratch/laufzeit"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$wurzel/usr/bin/kalvoria_beispieldaten" --version
"$wurzel/usr/bin/kalvoria_beispieldaten" familie "$scratch/familie.db"
# Headless; ends once its window is up, printing the title (the file in use)
# and failing when it showed any message.
ausgabe="$(QT_QPA_PLATFORM=offscreen timeout 120 "$programm" --beenden-nach-start "$scratch/familie.db")" ||
    falsch "kalvoria with the sample database failed"
echo "$ausgabe"
[ "$ausgabe" = "Kalvoria - $scratch/familie.db" ] || falsch "kalvoria did not open the sample database"
grep -Fxq "letzteDatei=$scratch/familie.db" "$XDG_CONFIG_HOME/Kalvoria/config.ini" ||
    falsch "kalvoria did not remember the sample database"

echo "== man pages"
for seite in kalvoria kalvoria_beispieldaten; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$wurzel/usr/share/man/man1/$seite.1.gz" >"$scratch/seite" \
        2>"$scratch/warnungen" || falsch "man cannot show $seite.1"
    head -n 4 "$scratch/seite"
    if [ -s "$scratch/warnungen" ]; then
        cat "$scratch/warnungen" >&2
        falsch "man reports problems in $seite.1"
    fi
done

[ "$fehler" -eq 0 ] || exit 1
echo "The package passed every check."

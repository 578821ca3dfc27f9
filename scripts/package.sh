#!/usr/bin/env bash
# Installs the programs into a staging folder and checks what lands where, builds the Debian
# package from the build folder (default build/) and, as root, installs it, starts the installed
# program as an ordinary user and as root (the settings of both go to their configuration
# folders, never beside the program), and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$dir" --prefix /usr >/dev/null
for f in usr/bin/tulmo-chat usr/bin/tulmo-server usr/share/applications/tulmo-chat.desktop \
         usr/share/icons/hicolor/48x48/apps/tulmo-chat.png \
         usr/share/icons/hicolor/256x256/apps/tulmo-chat.png usr/share/tulmo-chat/LEIAME.txt; do
    [[ -s "$stage/$f" ]] || { echo "missing after install: /$f"; exit 1; }
done
echo "install: programs, desktop entry, icons and share/tulmo-chat in place"

(cd "$dir" && cpack -G DEB -B package >/dev/null 2>&1)
deb=$(ls "$dir"/package/tulmo-chat_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/tulmo-chat ./usr/bin/tulmo-server ./usr/share/applications/tulmo-chat.desktop \
         ./usr/share/tulmo-chat/LEIAME.txt; do
    grep -q " $f\$" <<<"$contents" || { echo "package lacks $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q libqt6widgets6 <<<"$depends" || { echo "package lacks its Qt dependency"; exit 1; }
grep -q fonts-wine <<<"$depends" || { echo "package lacks the font it is laid out for"; exit 1; }
grep -q hunspell-pt-br <<<"$depends" || { echo "package lacks its dictionary"; exit 1; }
echo "package: $deb"

if [[ $(id -u) -ne 0 ]]; then
    echo "not root: the package is not installed"
    exit 0
fi
# The root run below puts settings of an older version there, and removes them again.
[[ ! -e /usr/bin/confs.ini ]] || { echo "/usr/bin/confs.ini exists already"; exit 1; }
dpkg -i "$deb" >/dev/null
home=$(mktemp -d)
roothome=$(mktemp -d)
chown nobody "$home"
cleanup() {
    rm -f /usr/bin/confs.ini
    dpkg -r tulmo-chat >/dev/null || true
    rm -rf "$stage" "$home" "$roothome"
}
trap cleanup EXIT
[[ -x /usr/bin/tulmo-chat && -x /usr/bin/tulmo-server ]] || { echo "not installed"; exit 1; }

# Starts the installed program with the given home folder (after any setpriv arguments) and
# stops it once it has written its start-up settings into that home's configuration folder.
run_installed() {
    local home=$1
    shift
    local settings="$home/.config/tulmo-chat/confs.ini"
    "$@" env -i HOME="$home" QT_QPA_PLATFORM=offscreen PATH=/usr/bin:/bin /usr/bin/tulmo-chat &
    local pid=$!
    for _ in $(seq 100); do
        grep -qs STempo "$settings" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null || { echo "the installed program did not stay up"; exit 1; }
    kill "$pid"
    wait "$pid" || true
    grep -qs STempo "$settings" || { echo "no settings in $settings"; exit 1; }
    [[ $(stat -c %a "$settings") == 600 ]] || { echo "$settings is readable by others"; exit 1; }
}

# As nobody: the program's folder is not theirs to write.
run_installed "$home" setpriv --reuid=nobody --regid=nogroup --clear-groups
[[ ! -e /usr/bin/confs.ini ]] || { echo "settings written beside the installed program"; exit 1; }
echo "installed program: starts, keeps its settings in ~/.config/tulmo-chat/, private"

# As root, who could write /usr/bin: the settings found there are copied into root's folder and
# used there; the old file is left as it was.
printf '[Geral]\r\nLogin=antigo\r\n' > /usr/bin/confs.ini
before=$(sha256sum /usr/bin/confs.ini)
run_installed "$roothome"
grep -q '^Login=antigo' "$roothome/.config/tulmo-chat/confs.ini" ||
    { echo "the settings beside the program were not carried over"; exit 1; }
[[ $(sha256sum /usr/bin/confs.ini) == "$before" ]] ||
    { echo "the installed program as root wrote beside itself"; exit 1; }
echo "installed program as root: carries over and keeps its settings in ~/.config/tulmo-chat/"

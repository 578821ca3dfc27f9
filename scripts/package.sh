#!/usr/bin/env bash
# Installs the programs into a staging folder and checks what lands where, builds the Debian
# package from the build folder (default build/) and, as root, installs it, starts the installed
# program as an ordinary user (its settings go to that user's configuration folder, since the
# program's folder is not theirs), and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$dir" --prefix /usr >/dev/null
for f in usr/bin/tulmo-chat usr/bin/tulmo-server usr/share/applications/tulmo-chat.desktop \
         usr/share/icons/hicolor/48x48/apps/tulmo-chat.png \
         usr/share/icons/hicolor/256x256/apps/tulmo-chat.png; do
    [[ -s "$stage/$f" ]] || { echo "missing after install: /$f"; exit 1; }
done
echo "install: programs, desktop entry and icons in place"

(cd "$dir" && cpack -G DEB -B package >/dev/null 2>&1)
deb=$(ls "$dir"/package/tulmo-chat_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/tulmo-chat ./usr/bin/tulmo-server ./usr/share/applications/tulmo-chat.desktop; do
    grep -q " $f\$" <<<"$contents" || { echo "package lacks $f"; exit 1; }
done
grep -q libqt6widgets6 <<<"$(dpkg-deb -f "$deb" Depends)" || { echo "package lacks its Qt dependency"; exit 1; }
echo "package: $deb"

if [[ $(id -u) -ne 0 ]]; then
    echo "not root: the package is not installed"
    exit 0
fi
dpkg -i "$deb" >/dev/null
home=$(mktemp -d)
chown nobody "$home"
cleanup() {
    dpkg -r tulmo-chat >/dev/null || true
    rm -rf "$stage" "$home"
}
trap cleanup EXIT
[[ -x /usr/bin/tulmo-chat && -x /usr/bin/tulmo-server ]] || { echo "not installed"; exit 1; }

# The installed program as nobody: it must start, stay up and keep its settings in nobody's
# configuration folder, never beside itself.
setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$home" QT_QPA_PLATFORM=offscreen PATH=/usr/bin:/bin /usr/bin/tulmo-chat &
pid=$!
for _ in $(seq 100); do
    [[ -s "$home/.config/tulmo-chat/confs.ini" ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null || { echo "the installed program did not stay up"; exit 1; }
kill "$pid"
wait "$pid" || true
[[ -s "$home/.config/tulmo-chat/confs.ini" ]] || { echo "no settings in the user's folder"; exit 1; }
[[ ! -e /usr/bin/confs.ini ]] || { echo "settings written beside the installed program"; exit 1; }
echo "installed program: starts, keeps its settings in ~/.config/tulmo-chat/"

#!/usr/bin/env bash
# Installs what is missing, builds, starts the trial chat server in the background and the
# program in front. Closing the program stops the server it started.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
bash scripts/build.sh build

# A starter confs.ini beside the program: the trial server's account and home channel. An existing
# one is never touched. Readable by its owner only, since a password typed later lands in it.
if [[ ! -e build/confs.ini ]]; then
    (umask 077 && printf '%s\r\n' \
        '[Geral]' 'Login=visitante' 'Servidor=localhost' 'CanalPrincipal=Chat' > build/confs.ini)
fi

# The account the program logs in with is an operator on the trial server, so the operator
# features can be tried; an account renamed in the options stays one.
account=$( (grep -a -i -m 1 '^[[:space:]]*login[[:space:]]*=' build/confs.ini || true) |
    sed 's/^[^=]*=[[:space:]]*//' | tr -d '\r' | iconv -f WINDOWS-1252 -t UTF-8 || true)
account=${account:-visitante}
said=$(mktemp)
build/tulmo-server --channel Chat --ops "$account" >"$said" &
server=$!
trap 'kill "$server" 2>/dev/null || true; rm -f "$said"' EXIT
for _ in $(seq 100); do
    grep -q '^listening on' "$said" && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
if grep -q '^listening on' "$said"; then
    echo "run.sh: trial server $(head -n 1 "$said"), you are operator \"$account\""
else
    echo "run.sh: the trial server did not start (see its message above); the program starts" \
         "anyway and connects to whatever listens on port 6112, if anything" >&2
fi
build/tulmo-chat

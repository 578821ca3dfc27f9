#!/usr/bin/env bash
# Installs what is missing, builds, starts the trial chat server in the background and the
# program in front. Closing the program stops the server it started.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
bash scripts/build.sh build

# A starter confs.ini beside the program; an existing one is never touched.
if [[ ! -e build/confs.ini ]]; then
    printf '[Geral]\r\nLogin=visitante\r\nServidor=localhost\r\n' > build/confs.ini
fi

build/tulmo-server &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
sleep 0.5
build/tulmo-chat

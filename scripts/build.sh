#!/usr/bin/env bash
# Configures and builds into the given folder (default build/) with warnings as errors.
# Extra arguments go to CMake, for example -DTULMO_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTULMO_WERROR=ON "$@" >/dev/null
cmake --build "$dir"

#!/usr/bin/env bash
# Configures and builds into the given folder (default build/) with warnings as errors.
# Extra arguments go to CMake, for example -DTULMO_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
# A compiler cache keeps a later build of another checkout on this machine short; the paths are
# taken relative to the checkout, so any clone finds what an earlier one compiled.
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTULMO_WERROR=ON \
    "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir"

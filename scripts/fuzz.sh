#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang in build-fuzz/ and runs each for a short while
# on a copy of its seed corpus; fails on any crash, failed check or sanitizer report, and leaves
# the input that caused it in build-fuzz/artifacts/. Skipped when clang++ is not installed.
# FUZZ_SECONDS sets the time per target (20); extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ is not installed: fuzz stage skipped"
    exit 0
fi

seconds=${FUZZ_SECONDS:-20}
targets=()
for seeds in fuzz/corpus/*/; do
    targets+=("fuzz_$(basename "$seeds")")
done

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTULMO_WERROR=ON -DTULMO_FUZZ=ON -DTULMO_BUILD_TESTS=OFF "$@" >/dev/null
cmake --build build-fuzz --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build-fuzz/artifacts
failed=()
for target in "${targets[@]}"; do
    unit=${target#fuzz_}
    # The run adds what it finds to the corpus it is given: a copy, so the seeds stay as written.
    cp -r "fuzz/corpus/$unit" "$work/$unit"
    echo "-- $target (${seconds}s)"
    # Qt and fontconfig keep caches alive until exit; leak reports there are not ours.
    if ! ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -artifact_prefix="build-fuzz/artifacts/$target-" "$work/$unit" >"$work/$unit.log" 2>&1; then
        tail -n 60 "$work/$unit.log"
        failed+=("$target")
    else
        grep -E '^Done [0-9]+ runs' "$work/$unit.log" || true
    fi
done

if ((${#failed[@]})); then
    echo "fuzz targets failed: ${failed[*]} (inputs in build-fuzz/artifacts/)"
    exit 1
fi

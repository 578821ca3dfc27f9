#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: headless on the offscreen platform, the
# keyboard, shortcut and geometry tests again under Xvfb, the end-to-end suite (the real program
# typed into with xdotool) under Xvfb, the install and the Debian package, then all of it once
# more in a build with AddressSanitizer and UndefinedBehaviorSanitizer, a short run of each fuzz
# target, and last the Windows build under Wine when its cross-built Qt is in the cache.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
bash scripts/build.sh build

echo "== tests (offscreen)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build -LE e2e --output-on-failure -j2

echo "== keyboard, shortcut and geometry tests (xcb under Xvfb)"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build -L xcb --output-on-failure

echo "== end-to-end suite (the program on xcb under Xvfb, typed into with xdotool)"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build -L e2e --output-on-failure

echo "== install, Debian package, the installed program"
bash scripts/package.sh build

echo "== tests (address and undefined-behaviour sanitizers)"
# The benchmarks are built (and so checked) above and never run: not again here.
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTULMO_SANITIZE=ON -DTULMO_BUILD_BENCH=OFF
# Qt and fontconfig keep caches alive until exit; leak reports there are not ours.
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
    ctest --test-dir build-asan -LE e2e --output-on-failure -j2
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build-asan -L e2e --output-on-failure

echo "== fuzz targets (a short run each)"
bash scripts/fuzz.sh

echo "== Windows build and its tests under Wine"
if bash scripts/windows.sh --have-qt; then
    bash scripts/windows.sh
    bash scripts/windows-test.sh
else
    echo "SKIPPED: no cross-built Qt in the cache; bash scripts/windows.sh builds it once (about 40"
    echo "minutes on two cores), and the Windows build and its tests run here from then on."
fi

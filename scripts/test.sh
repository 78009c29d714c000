#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: the Linux program's tests,
# then the Windows program's, built by the cross compilers and run under wine
# (headless, each program bounded in time by scripts/wine-run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
(cd build && ctest --output-on-failure -j"$(nproc)" "$@")
bash scripts/build-windows.sh
(cd build-win && ctest --output-on-failure --timeout 300 "$@")

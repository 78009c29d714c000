#!/usr/bin/env bash
# Cross-builds the Windows program into build-win/ (the program is
# build-win/strovane.exe, statically linked: copy it alone to Windows) with
# its tests, which ctest runs under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build build-win -j"$(nproc)"

#!/usr/bin/env bash
# Runs a Windows program of the build under wine, headless and bounded in
# time: the build's own wine prefix (made once, under a lock, so parallel
# tests share it) with the null graphics driver, and a wine server whose
# background processes cannot hold the caller's output open. STROVANE_WINE_TIMEOUT (seconds, default 120) bounds
# the program's run.
set -euo pipefail

program=$1
shift
build_dir=$(cd "$(dirname "$program")" && pwd)
while [[ ! -f $build_dir/CMakeCache.txt && $build_dir != / ]]; do
  build_dir=$(dirname "$build_dir")
done

export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# The prefix is made once; a second caller waits for the first.
(
  flock 9
  if [[ ! -f $WINEPREFIX/.strovane-ready ]]; then
    timeout 300 wineboot --init </dev/null >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    # The desktop process that booting started took the default driver;
    # it and its server go, so that the next program starts on the null one.
    timeout 60 wineserver -k </dev/null >/dev/null 2>&1 || true
    timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.strovane-ready"
  fi
) 9>"$build_dir/wineprefix.lock"

# The server lingers 30 s after the last program; it detaches itself, and
# started here its output goes nowhere near ours.
wineserver -p30 </dev/null >/dev/null 2>&1 || true  # already running

exec timeout --kill-after=10 "${STROVANE_WINE_TIMEOUT:-120}" wine "$program" "$@" </dev/null

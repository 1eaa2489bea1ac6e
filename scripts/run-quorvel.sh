#!/usr/bin/env bash
# Runs Quorvel from a build folder. Without a display, the screen is the
# offscreen one, so the program still runs (and can be driven by tests).
set -euo pipefail
build=${1:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fi
exec "$build/bin/quorvel"

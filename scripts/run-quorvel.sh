#!/usr/bin/env bash
# Runs Quorvel from a build folder. Without a display, the screen is the
# offscreen one, so the program still runs (and can be driven by tests).
set -euo pipefail
build=${1:-build}
# Qt keeps its runtime files there; Debian sets it only for desktop sessions.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
  mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fi
# The platform's own classes (the filter graph manager among them) are
# created through the registry, as on Windows: register them first.
"$build/bin/quorvel-regsvr" /s "$build/lib/libquorvel-platform.so"
exec "$build/bin/quorvel"

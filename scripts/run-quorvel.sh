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
# The platform's own classes (the filter graph manager and the media
# filters) and the decoder under test are created through the registry, as
# on Windows: register them first, as the decoder's installation would.
"$build/bin/quorvel-regsvr" /s "$build/lib/libquorvel-platform.so"
"$build/bin/quorvel-regsvr" /s "$build/lib/libpellonex-h264.so"
exec "$build/bin/quorvel"

#!/usr/bin/env bash
# Compiles every application source (syntax only) with the MinGW-w64 cross
# compiler against the real Windows headers, adding only our ATL subset and
# the decoder's interface header. A source that builds on Linux but fails here
# means one of the platform's Windows-named headers is wrong.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cxx=x86_64-w64-mingw32-g++
includes=(-I "$top/platform/atl")
[ -d "$top/decoder/include" ] && includes+=(-I "$top/decoder/include")
mapfile -t sources < <(cd "$top" && ls app/*.cpp console/*.cpp graph/*.cpp graphedit/*.cpp 2>/dev/null || true)
for src in "${sources[@]}"; do
  "$cxx" -std=c++20 -fsyntax-only -municode -DUNICODE -D_UNICODE -D_DEBUG -Wall \
    "${includes[@]}" -I "$top/$(dirname "$src")" -I "$top/graph" -I "$top/graphedit" -I "$top/console" \
    "$top/$src"
done
echo "windows headers check: ${#sources[@]} application sources compile against the real headers"

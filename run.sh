#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts it: ./run.sh [file.las]
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTRATIV_BUILD_TESTS=OFF -DSTRATIV_BUILD_BENCH=OFF >/dev/null
# The build's progress lines are shown only when it fails.
if ! log=$(cmake --build build -j "$(nproc)" --target strativ 2>&1); then
  printf '%s\n' "$log" >&2
  exit 1
fi
args=()
for a in "$@"; do args+=("$(realpath -- "$a")"); done
exec build/app/strativ "${args[@]}"

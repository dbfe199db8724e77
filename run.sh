#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts it: ./run.sh [file.las]
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTRATIV_BUILD_TESTS=OFF >/dev/null
if [[ ! -f app/main.cpp ]]; then
  cmake --build build -j "$(nproc)"
  echo "The program itself is not there yet: the libraries are built." >&2
  exit 1
fi
cmake --build build -j "$(nproc)" --target strativ
args=()
for a in "$@"; do args+=("$(realpath -- "$a")"); done
exec build/app/strativ "${args[@]}"

#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts it: ./run.sh [file.las]
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTRATIV_BUILD_TESTS=OFF -DSTRATIV_BUILD_BENCH=OFF >/dev/null
[[ -x build/app/strativ ]] || echo "run: building the program (the first build takes several minutes)" >&2

# The build's progress is one line of percents; its whole output is shown when it fails.
progress() {
  local shown=""
  while read -r percent; do
    printf '\rrun: build %3s %%' "$percent" >&2
    shown=1
  done
  [[ -z "$shown" ]] || printf '\n' >&2
}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
set +e
cmake --build build -j "$(nproc)" --target strativ 2>&1 | tee "$log" |
  sed -un 's/^\[ *\([0-9]*\)%\].*/\1/p' | progress
built=${PIPESTATUS[0]}
set -e
if [[ $built -ne 0 ]]; then
  cat "$log" >&2
  exit 1
fi
rm -f "$log"
args=()
for a in "$@"; do args+=("$(realpath -- "$a")"); done
exec build/app/strativ "${args[@]}"

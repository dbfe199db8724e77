#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSTRATIV_SANITIZE=ON -DSTRATIV_WERROR=ON >/dev/null
cmake --build build-test -j "$jobs"
cd build-test
ctest --output-on-failure -j "$jobs"

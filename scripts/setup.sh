#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; silent when all are present.
set -euo pipefail

packages=(cmake g++ make pkg-config
          googletest libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-svg-dev libgl-dev libsqlite3-dev libfftw3-dev libxxhash-dev
          qt6-translations-l10n
          adwaita-icon-theme fonts-dejavu-core fonts-liberation2 poppler-utils
          libuemf-dev emf2svg printemf)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  sudo=(sudo -n)
else
  echo "setup: these packages are missing: ${missing[*]}" >&2
  echo "setup: installing them needs root or password-less sudo; run: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only when one is missing,
# so that a configured machine starts building at once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev zlib1g-dev libpng-dev
  libcairo2-dev fonts-dejavu-core fonts-dejavu-extra
  libsdl2-dev libfreetype-dev libfontconfig-dev libsodium-dev fonts-wine fonts-liberation
  nlohmann-json3-dev python3
  xvfb xdotool jq socat
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and packaging GH02 need, when
# missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev lld
  libsdl2-dev libepoxy-dev libopenal-dev libfreetype-dev libfontconfig-dev libsndfile1-dev
  zlib1g-dev libstb-dev nlohmann-json3-dev libcli11-dev libinih-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgl1-mesa-dri libegl-mesa0 libegl1 libgles2 fonts-ipafont-gothic
  dpkg-dev desktop-file-utils appstream man-db lintian jq
  python3 strace
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

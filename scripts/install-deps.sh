#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and runs with. Idempotent: packages
# already present are left alone, so repeated runs cost one dpkg query.
#   scripts/install-deps.sh            build, test and example dependencies
#   scripts/install-deps.sh --bench    also the comparison libraries of the benchmarks
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libyajl-dev zlib1g-dev libpng-dev libjpeg-dev
  libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
  clang libclang-rt-14-dev
  nlohmann-json3-dev libplist-dev uuid-dev libicu-dev libcairo2-dev
  libpango1.0-dev libfontconfig-dev fontconfig fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra
  librsvg2-bin libsdl2-dev
  libsqlite3-dev libcurl4-openssl-dev libminizip-dev libcpp-httplib-dev optipng
  libgtkmm-4.0-dev libx11-dev xvfb xauth
)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(libvips-dev libvips-tools libopencv-dev python3-pil)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Siteward need.
# Quick when everything is already there: apt is only called for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libshp-dev libsqlite3-dev libzip-dev libexpat1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgeographiclib-dev gdal-bin python3-gdal libxml2-utils
  xvfb xauth tzdata
  # CPack's Debian packages: dpkg-shlibdeps computes the dependencies, file finds the programs.
  dpkg-dev file
  # The format check of every C++ file.
  clang-format-14
  # The fuzz build: clang with libFuzzer and its sanitizer runtimes.
  clang-14 libfuzzer-14-dev libclang-rt-14-dev
  proj-bin # cs2cs: the peer that coord/bench/million_points.sh times siteward-coords against
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

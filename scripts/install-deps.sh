#!/usr/bin/env bash
# Installs the Debian packages one of build.sh's commands needs, in sets:
#   run          building Siteward and running it (./build.sh run, ./build.sh install)
#   package      run, and what makes and checks the Debian package (./build.sh package)
#   screenshots  run, and what drives the real windows for the guide's pictures
#                (./build.sh screenshots)
#   test         all of the above, and what the tests, the sanitizer, fuzzing and benchmark
#                builds need (./build.sh test)
#
#   bash scripts/install-deps.sh SET           install what is missing of SET
#   bash scripts/install-deps.sh --check SET   exit 0 when SET is all there, 1 otherwise
# Quick when everything is already there: apt is only called for what is missing.
set -euo pipefail

run_set=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libshp-dev libsqlite3-dev libzip-dev libexpat1-dev
  # Qt only recommends its window-system plugins; without them the program opens no window.
  qt6-qpa-plugins
  # The Hurricanes window reads the machine's time zone.
  tzdata
)
package_set=(
  # CPack's Debian packages: dpkg-shlibdeps computes the dependencies, file finds the programs.
  dpkg-dev file
  # scripts/check-package.sh: Debian's package checker, and the manual page's rendering.
  lintian man-db
)
screenshot_set=(
  # A private X display with a window manager and the accessibility bus, and the driver of
  # the windows (tools/screenshots).
  xvfb xauth x11-utils x11-xserver-utils openbox dbus at-spi2-core python3-pyatspi xdotool imagemagick
  fonts-dejavu-core
)
test_set=(
  libgtest-dev libgmock-dev libbenchmark-dev
  libgeographiclib-dev gdal-bin python3-gdal libxml2-utils
  # The format check of every C++ file.
  clang-format-14
  # The fuzz build: clang with libFuzzer and its sanitizer runtimes.
  clang-14 libfuzzer-14-dev libclang-rt-14-dev
  proj-bin # cs2cs: the peer that coord/bench/million_points.sh times siteward-coords against
)

check_only=0
if [ "${1:-}" = "--check" ]; then
  check_only=1
  shift
fi
case "${1:-}" in
run) packages=("${run_set[@]}") ;;
package) packages=("${run_set[@]}" "${package_set[@]}") ;;
screenshots) packages=("${run_set[@]}" "${screenshot_set[@]}") ;;
test) packages=("${run_set[@]}" "${package_set[@]}" "${screenshot_set[@]}" "${test_set[@]}") ;;
*)
  echo "usage: bash scripts/install-deps.sh [--check] run|package|screenshots|test" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
[ "$check_only" -eq 1 ] && exit 1

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

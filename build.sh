#!/usr/bin/env bash
# ./build.sh run   install what is missing, build, and start Siteward
# ./build.sh test  install what is missing, build, and run every test (plain and sanitizer builds),
#                  then build the Release configuration and check the Debian package made from it
# ./build.sh install [PREFIX]  build and lay the program and its data out under PREFIX
# ./build.sh package  build the Release configuration and make siteward_<version>_amd64.deb here
# Quick when nothing has changed: packages are checked, not reinstalled; builds are incremental.
set -euo pipefail
cd "$(dirname "$0")"

BUILD=${BUILD:-build/release}
ASAN_BUILD=${ASAN_BUILD:-build/asan}
PACKAGE_BUILD=${PACKAGE_BUILD:-build/package}
JOBS=${JOBS:-$(nproc)}

configure() { # folder, cmake options...
    local dir=$1
    shift
    local launcher=()
    # A compiler cache makes rebuilds in other clones of the same tree nearly free.
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    local options=(-G Ninja "${launcher[@]}" "$@")
    # Configure again only when the options differ from the ones the folder was made with.
    if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/siteward-options" 2>/dev/null)" != "${options[*]}" ]; then
        cmake -S . -B "$dir" "${options[@]}"
        echo "${options[*]}" >"$dir/siteward-options"
    fi
}

# Our own builds treat every warning as an error.
build_release() {
    configure "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSITEWARD_WERROR=ON
    cmake --build "$BUILD" -j "$JOBS"
}

build_asan() {
    configure "$ASAN_BUILD" -DCMAKE_BUILD_TYPE=Debug -DSITEWARD_SANITIZE=ON -DSITEWARD_BENCHMARKS=OFF \
        -DSITEWARD_WERROR=ON
    cmake --build "$ASAN_BUILD" -j "$JOBS"
}

run_tests() { # folder
    (cd "$1" && ctest --output-on-failure --no-tests=error -j "$JOBS")
}

# The configuration packagers build (-O3, no tests), configured as they would, so warnings show
# but do not stop it (GCC 12 at -O3 reports false overlapping-copy warnings in std::string).
# It is packed into siteward_<version>_amd64.deb, which is checked and then copied to the
# repository's root.
build_package() {
    configure "$PACKAGE_BUILD" -DCMAKE_BUILD_TYPE=Release -DSITEWARD_TESTS=OFF -DSITEWARD_BENCHMARKS=OFF \
        -DSITEWARD_WERROR=OFF
    cmake --build "$PACKAGE_BUILD" -j "$JOBS"
    rm -f "$PACKAGE_BUILD"/siteward_*.deb
    (cd "$PACKAGE_BUILD" && cpack -G DEB >/dev/null)
    local deb
    deb=$(ls "$PACKAGE_BUILD"/siteward_*.deb)
    bash scripts/check-package.sh "$deb"
    rm -f siteward_*.deb
    cp "$deb" .
    echo "Made $(basename "$deb")"
}

case "${1:-}" in
run)
    bash scripts/install-deps.sh
    build_release
    exec "$BUILD/bin/siteward"
    ;;
test)
    bash scripts/install-deps.sh
    build_release
    run_tests "$BUILD"
    build_asan
    run_tests "$ASAN_BUILD"
    build_package
    ;;
package)
    bash scripts/install-deps.sh
    build_package
    ;;
install)
    bash scripts/install-deps.sh
    build_release
    cmake --install "$BUILD" --prefix "${2:-/opt/siteward}"
    ;;
*)
    sed -n '2,7p' "$0" | sed 's/^# //'
    exit 2
    ;;
esac

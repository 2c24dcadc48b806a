#!/usr/bin/env bash
# ./build.sh run   install what building and running need, build, and start Siteward
# ./build.sh test  install what is missing, check every C++ file against .clang-format and the
#                  size limits (scripts/check-sizes.py), build, and
#                  run every test (plain and ASan+UBSan builds) and the threaded ones under
#                  ThreadSanitizer, fuzz the parsers of outside files for a bounded time (clang,
#                  build/fuzz), then build the Release configuration and check its Debian package
# ./build.sh install [PREFIX]  build and lay the program and its data out under PREFIX
# ./build.sh package  build the Release configuration and make siteward_<version>_amd64.deb here
# ./build.sh screenshots  build, walk through the user guide in the real windows (on a private
#                  X display) and remake its pictures in docs/images
# Quick when nothing has changed: packages are checked, not reinstalled; builds are incremental.
set -euo pipefail
cd "$(dirname "$0")"

BUILD=${BUILD:-build/release}
ASAN_BUILD=${ASAN_BUILD:-build/asan}
TSAN_BUILD=${TSAN_BUILD:-build/tsan}
FUZZ_BUILD=${FUZZ_BUILD:-build/fuzz}
FUZZ_SECONDS=${FUZZ_SECONDS:-30} # per fuzz target
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

# ThreadSanitizer over the tests of the code that runs on several threads (the batch conversion
# of siteward-coords, text files read as tables, the KML conversion): only those programs are
# built, and ctest runs the tests labelled "threaded".
THREADED_TESTS=(coord_tests services_database_test kmlconvert_logic_tests)
build_tsan() {
    configure "$TSAN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSITEWARD_TSAN=ON \
        -DSITEWARD_BENCHMARKS=OFF -DSITEWARD_WERROR=ON
    cmake --build "$TSAN_BUILD" -j "$JOBS" --target "${THREADED_TESTS[@]}"
}

run_tsan_tests() {
    (cd "$TSAN_BUILD" && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
        ctest --output-on-failure --no-tests=error -L threaded -j "$JOBS")
}

# Every C++ file as .clang-format lays it out; the files that differ are named (reformat one
# with clang-format-14 -i FILE).
check_format() {
    local off
    off=$(git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run 2>&1 |
        sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning:.*/\1/p' | sort -u)
    if [ -n "$off" ]; then
        echo "These files differ from .clang-format (clang-format-14 -i FILE):" >&2
        echo "$off" >&2
        return 1
    fi
    echo "Every C++ file follows .clang-format"
}

# The libFuzzer targets only, with clang, address and undefined-behaviour sanitizers.
build_fuzz() {
    configure "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
        -DSITEWARD_FUZZ=ON -DSITEWARD_TESTS=OFF -DSITEWARD_BENCHMARKS=OFF
    cmake --build "$FUZZ_BUILD" -j "$JOBS" --target sw_fuzz_targets
}

# What run, install and screenshots need: the two programs, not the tests. Without the test set
# the build is configured without the tests' libraries; with it, as the tests' build, so the
# folder is not configured back and forth.
build_program() {
    local tests=(-DSITEWARD_TESTS=OFF -DSITEWARD_BENCHMARKS=OFF)
    bash scripts/install-deps.sh --check test && tests=()
    configure "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSITEWARD_WERROR=ON "${tests[@]}"
    cmake --build "$BUILD" -j "$JOBS" --target siteward siteward-coords
}

# The guide's pictures, from the real windows on a private X display with a window manager.
# The Eastern time zone gives the Hurricanes window its local time as a dispatcher sees it.
make_screenshots() {
    TZ=America/New_York bash tools/screenshots/session.sh /usr/bin/python3 \
        tools/screenshots/make_screenshots.py "$BUILD/bin/siteward" docs/images
}

run_tests() { # folder
    (cd "$1" && ctest --output-on-failure --no-tests=error -j "$JOBS")
}

# The configuration packagers build (-O3, no tests), configured as they would, so warnings show
# but do not stop it (GCC 12 at -O3 reports false overlapping-copy warnings in std::string),
# and hardened as Debian builds its packages (fortified C library calls, stack protector,
# read-only relocations bound at start).
# It is packed into siteward_<version>_amd64.deb, which is checked and then copied to the
# repository's root.
build_package() {
    configure "$PACKAGE_BUILD" -DCMAKE_BUILD_TYPE=Release -DSITEWARD_TESTS=OFF -DSITEWARD_BENCHMARKS=OFF \
        -DSITEWARD_WERROR=OFF "-DCMAKE_CXX_FLAGS=-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
        "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro,-z,now"
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
    bash scripts/install-deps.sh run
    build_program
    exec "$BUILD/bin/siteward"
    ;;
test)
    bash scripts/install-deps.sh test
    check_format
    python3 scripts/check-sizes.py && echo "No source file over 500 lines, no function over 80"
    build_release
    run_tests "$BUILD"
    build_asan
    run_tests "$ASAN_BUILD"
    build_tsan
    run_tsan_tests
    build_fuzz
    bash scripts/run-fuzz.sh "$FUZZ_BUILD" "$FUZZ_SECONDS"
    build_package
    ;;
package)
    bash scripts/install-deps.sh package
    build_package
    ;;
install)
    bash scripts/install-deps.sh run
    build_program
    cmake --install "$BUILD" --prefix "${2:-/opt/siteward}"
    ;;
screenshots)
    bash scripts/install-deps.sh screenshots
    build_program
    make_screenshots
    ;;
*)
    sed -n '2,11p' "$0" | sed 's/^# //'
    exit 2
    ;;
esac

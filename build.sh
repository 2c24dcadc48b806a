#!/usr/bin/env bash
# ./build.sh run   install what is missing, build, and start Siteward
# ./build.sh test  install what is missing, build, and run every test (plain and sanitizer builds)
# ./build.sh install [PREFIX]  build and lay the program and its data out under PREFIX
# Quick when nothing has changed: packages are checked, not reinstalled; builds are incremental.
set -euo pipefail
cd "$(dirname "$0")"

BUILD=${BUILD:-build/release}
ASAN_BUILD=${ASAN_BUILD:-build/asan}
FUZZ_BUILD=${FUZZ_BUILD:-build/fuzz}
FUZZ_SECONDS=${FUZZ_SECONDS:-30} # per fuzz target
JOBS=${JOBS:-$(nproc)}

configure() { # folder, cmake options...
    local dir=$1
    shift
    local launcher=()
    # A compiler cache makes rebuilds in other clones of the same tree nearly free.
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@"
}

build_release() {
    configure "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD" -j "$JOBS"
}

build_asan() {
    configure "$ASAN_BUILD" -DCMAKE_BUILD_TYPE=Debug -DSITEWARD_SANITIZE=ON -DSITEWARD_BENCHMARKS=OFF
    cmake --build "$ASAN_BUILD" -j "$JOBS"
}

# The libFuzzer targets only, with clang, address and undefined-behaviour sanitizers.
build_fuzz() {
    configure "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
        -DSITEWARD_FUZZ=ON -DSITEWARD_TESTS=OFF -DSITEWARD_BENCHMARKS=OFF
    cmake --build "$FUZZ_BUILD" -j "$JOBS" --target sw_fuzz_targets
}

run_tests() { # folder
    (cd "$1" && ctest --output-on-failure --no-tests=error -j "$JOBS")
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
    build_fuzz
    bash scripts/run-fuzz.sh "$FUZZ_BUILD" "$FUZZ_SECONDS"
    ;;
install)
    bash scripts/install-deps.sh
    build_release
    cmake --install "$BUILD" --prefix "${2:-/opt/siteward}"
    ;;
*)
    sed -n '2,5p' "$0" | sed 's/^# //'
    exit 2
    ;;
esac

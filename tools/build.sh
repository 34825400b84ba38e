#!/usr/bin/env bash
# Installs what the configurator needs on Debian 12, builds it, and then either starts it ("run") or
# runs every test ("test"). Usage: bash tools/build.sh run|test
#
# "test" builds build/ with warnings as errors and the benchmarks, runs the whole suite, checks the
# install rule, then builds build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# the whole suite again there; any sanitizer report fails that run.
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
build_asan="$root/build-asan"
jobs=$(nproc)

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core)
if [ "$mode" = test ]; then
    packages+=(iproute2 util-linux)
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

case "$mode" in
run)
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
    cmake --build "$build" --parallel "$jobs"
    exec "$build/bin/tessaro"
    ;;
test)
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
        -DTESSARO_WERROR=ON -DTESSARO_BUILD_BENCH=ON
    cmake --build "$build" --parallel "$jobs"
    (cd "$build" && ctest --output-on-failure --parallel "$jobs")

    # The install rule gives one folder holding both programs, which run from there.
    staging=$(mktemp -d)
    trap 'rm -rf "$staging"' EXIT
    cmake --install "$build" --prefix "$staging" >/dev/null
    test -x "$staging/bin/tessaro"
    "$staging/bin/tessaro-cli" --help >/dev/null
    echo "install: $staging/bin holds tessaro and tessaro-cli"

    cmake -S "$root" -B "$build_asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" \
        -DTESSARO_WERROR=ON -DTESSARO_SANITIZE=ON
    cmake --build "$build_asan" --parallel "$jobs"
    (cd "$build_asan" && ctest --output-on-failure --parallel "$jobs")
    ;;
*)
    echo "usage: bash tools/build.sh run|test" >&2
    exit 2
    ;;
esac

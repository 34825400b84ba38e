#!/usr/bin/env bash
# Installs what the configurator needs on Debian 12, builds it, and then either starts it ("run") or
# runs every test ("test"). Usage: bash tools/build.sh run|test
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core)
if [ "$mode" = test ]; then
    packages+=(iproute2 util-linux)
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"

case "$mode" in
run)
    exec "$build/bin/tessaro"
    ;;
test)
    cd "$build"
    ctest --output-on-failure --parallel "$(nproc)"
    ;;
*)
    echo "usage: bash tools/build.sh run|test" >&2
    exit 2
    ;;
esac

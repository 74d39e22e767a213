#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   scripts/setup.sh run    install what is missing, build, start Wayloom on the demo world
#   scripts/setup.sh test   install what is missing, build, run every test
#   scripts/setup.sh release  install what is missing, build the release archive build/wayloom-<version>-linux-<arch>.tar.gz
set -euo pipefail
mode="${1:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${WAYLOOM_BUILD_DIR:-$here/build}"

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libqt6svg6-dev
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  clang libclang-rt-14-dev
  python3 xvfb xauth fonts-liberation
  desktop-file-utils appstream
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build_all() {
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j "$(nproc)"
}

case "$mode" in
  run)
    install_missing
    build_all
    if [ -x "$build/program/Wayloom" ]; then
      exec "$build/program/Wayloom"
    else
      exec "$build/program/wayloom-check" "$build/program"
    fi
    ;;
  test)
    install_missing
    build_all
    export QT_QPA_PLATFORM=offscreen
    (cd "$build" && ctest --output-on-failure -j "$(nproc)")
    # Short fuzzing runs of the package and codec parsers, when they exist.
    if [ -x "$here/fuzz/run-ci.sh" ]; then
      "$here/fuzz/run-ci.sh" "$build-fuzz"
    fi
    ;;
  release)
    install_missing
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j "$(nproc)" --target release
    for archive in "$build"/wayloom-*-linux-*.tar.gz; do
      echo "$archive: $(stat -c %s "$archive") bytes"
    done
    ;;
  *)
    echo "usage: scripts/setup.sh run|test|release" >&2
    exit 2
    ;;
esac

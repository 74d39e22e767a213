#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   scripts/setup.sh run    install what is missing, build, start Wayloom on the demo world
#   scripts/setup.sh test   install what is missing, check the format, build, run clang-tidy on
#                           the sources changed since the first parent of HEAD, run every test
#                           twice (the dev preset, then under AddressSanitizer and
#                           UndefinedBehaviorSanitizer in the asan preset), the tests labelled
#                           threads a third time under ThreadSanitizer (tsan preset), fuzz briefly
#   scripts/setup.sh release  install what is missing, build the release archive build/wayloom-<version>-linux-<arch>.tar.gz
# Under CI (CI=true) every compiler warning is an error.
set -euo pipefail
mode="${1:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build"
jobs="$(nproc)"
strict=()
[ "${CI:-}" = "true" ] && strict=(-DWAYLOOM_WARNINGS_AS_ERRORS=ON)

packages=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libqt6svg6-dev
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  clang clang-format clang-tidy libclang-rt-14-dev
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
  # A compiler cache makes the second pass and later runs cheap.
  if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
  fi
  cmake --preset dev "${strict[@]}" >/dev/null
  cmake --build --preset dev -j "$jobs"
}

# Every tracked C++ source must be formatted as .clang-format says.
check_format() {
  local files
  mapfile -t files < <(cd "$here" && git ls-files '*.cpp' '*.h')
  [ ${#files[@]} -eq 0 ] && return 0
  (cd "$here" && clang-format --dry-run --Werror "${files[@]}")
  echo "format: ${#files[@]} files clean"
}

# Every test carries one of the labels unit, window or slow, so that
# `ctest -L unit` is the whole quick loop.
check_labels() {
  local all labelled
  all="$(ctest --preset dev -N | sed -n 's/^Total Tests: //p')"
  labelled="$(ctest --preset dev -N -L '^(unit|window|slow)$' | sed -n 's/^Total Tests: //p')"
  if [ "$all" != "$labelled" ]; then
    echo "labels: $((all - labelled)) of $all tests have none of unit, window, slow:" >&2
    comm -23 <(ctest --preset dev -N | sed -n 's/^ *Test *#[0-9]*: //p' | sort) \
      <(ctest --preset dev -N -L '^(unit|window|slow)$' | sed -n 's/^ *Test *#[0-9]*: //p' | sort) >&2
    return 1
  fi
  echo "labels: all $all tests labelled"
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
    start=$SECONDS
    check_format
    build_all
    echo "dev build done after $((SECONDS - start)) s"
    # clang-tidy on what this change touched; scripts/clang-tidy-all.sh checks
    # every file (too long for every CI run).
    "$here/scripts/clang-tidy-all.sh" --changed
    echo "clang-tidy done after $((SECONDS - start)) s"
    export QT_QPA_PLATFORM=offscreen
    check_labels
    ctest --preset dev -j "$jobs"
    echo "dev pass done after $((SECONDS - start)) s"
    # The same tests under the sanitizers; a leak, an out-of-bounds access or
    # undefined behaviour ends the test that caused it.
    cmake --preset asan "${strict[@]}" >/dev/null
    cmake --build --preset asan -j "$jobs"
    ctest --preset asan -j "$jobs"
    echo "asan pass done after $((SECONDS - start)) s"
    # Our own threads (the start-up load's second thread, unpacking off the
    # interface thread) under ThreadSanitizer: only the programs of the tests
    # labelled threads are built.
    cmake --preset tsan "${strict[@]}" >/dev/null
    cmake --build --preset tsan -j "$jobs"
    ctest --preset tsan -j "$jobs"
    echo "tsan pass done after $((SECONDS - start)) s"
    # Short fuzzing runs of the package and codec parsers.
    if [ -x "$here/fuzz/run-ci.sh" ]; then
      "$here/fuzz/run-ci.sh" "$here/build-fuzz"
    fi
    echo "all done after $((SECONDS - start)) s"
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

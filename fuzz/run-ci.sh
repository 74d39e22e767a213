#!/usr/bin/env bash
# Short fuzzing runs of the codec and package parsers, the record loaders, the
# language file and the updater's file and server lists, for CI:
#   fuzz/run-ci.sh BUILDDIR
# Configures a separate clang build in BUILDDIR with only the fuzz targets,
# builds them and runs each for FUZZ_SECONDS (20) seconds from the seeds in
# fuzz/corpus/<target>/. A finding fails the script; its input is kept in
# BUILDDIR/findings/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:?usage: fuzz/run-ci.sh BUILDDIR}"
seconds="${FUZZ_SECONDS:-20}"
targets=(huffman_decode huffman_roundtrip package_load package_extract)
# What players' files reach (fuzz/records/).
targets+=(record_loaders language_file update_file_list update_servers)

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DWAYLOOM_BUILD_FUZZERS=ON -DWAYLOOM_BUILD_TESTS=OFF -DWAYLOOM_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target wayloom_fuzzers -j "$(nproc)"

mkdir -p "$build/findings"
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"          # grows during the run; the seeds stay as they are
  mkdir -p "$corpus"
  echo "fuzzing $t for ${seconds}s"
  # Extraction writes into a scratch folder; every target runs under a memory
  # limit, so a package that decodes into far more than its size fails here.
  "$build/bin/fuzz_$t" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$t-" "$corpus" "$here/fuzz/corpus/$t"
done
echo "fuzzing: no findings"

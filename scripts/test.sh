#!/usr/bin/env bash
# Runs every test twice: in the optimised build and in the address-and-undefined sanitizer build;
# the threaded tests run a third time under the thread sanitizer.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/install-packages.sh"
cd "$here/.."
jobs="$(nproc)"
for preset in release asan; do
  echo "== $preset build"
  "$here/build.sh" "$preset"
  ctest --test-dir "build/$preset" --output-on-failure -j "$jobs"
done
echo "== tsan build (threaded tests)"
"$here/build.sh" tsan
ctest --test-dir build/tsan --output-on-failure -j "$jobs" -L threads

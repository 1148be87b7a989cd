#!/usr/bin/env bash
# Configures and builds one preset of CMakePresets.json: release (default), asan, tsan or fuzz.
# Quiet on success; on failure prints the build's whole output.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
preset="${1:-release}"
cd "$here/.."
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "Build of preset '$preset' failed." >&2
  exit 1
fi
grep -E 'warning:' "$log" >&2 || true

#!/usr/bin/env bash
# Configures and builds one preset of CMakePresets.json: release (default), asan, tsan or fuzz.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
preset="${1:-release}"
cd "$here/.."
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" 2>&1 | grep -v '^\[' || true
test "${PIPESTATUS[0]}" -eq 0

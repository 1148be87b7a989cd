#!/usr/bin/env bash
# The main job: builds Quorvane, then in a scratch folder runs a CAD session on the
# demonstration script, which builds a small block library with the host's commands, opens,
# lists and inserts its drawings; finally probes the library as the browser's loader does.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/install-packages.sh"
"$here/build.sh" release
bin="$here/../build/release/bin"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/library" "$scratch/support"
: > "$scratch/support/qv35.ini"
cd "$scratch"
"$bin/qrva-host" --support "$scratch/support" --script "$here/../demo/session.scr" "$@"
echo
echo "qrva-probe library:"
"$bin/qrva-probe" "$scratch/library"

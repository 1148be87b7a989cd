#!/usr/bin/env bash
# The main job: builds Quorvane, then in a scratch folder runs a CAD session on the
# demonstration script, which builds a small block library with the host's commands, opens,
# lists and inserts its drawings, and opens the browser, whose dialog the demonstration's UI
# script answers (every "ui:" line is what the browser showed); finally probes the library as
# the browser's loader does. On a desktop (a display named in DISPLAY) the session shows its
# windows while the scripts run, and afterwards the host window stays open on the library for
# you: its Quorvane button opens the browser; closing the window ends the session.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/install-packages.sh"
"$here/build.sh" release
bin="$here/../build/release/bin"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/library" "$scratch/support"
# The settings start with the directory of the current drawing's own blocks and one mapping
# scheme, which puts the pump's casing on layer M-PUMP.
cp "$here/../demo/qv35.ini" "$scratch/support/qv35.ini"
cd "$scratch"
"$bin/qrva-host" --support "$scratch/support" --script "$here/../demo/session.scr" \
  --ui "$here/../demo/browser.ui" "$@"
echo
echo "qrva-probe library:"
"$bin/qrva-probe" "$scratch/library"
if [ -n "${DISPLAY:-}" ]; then
  echo
  echo "The host window is open: press its Quorvane button; close the window to end."
  "$bin/qrva-host" --support "$scratch/support" "$@"
fi

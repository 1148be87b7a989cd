#!/usr/bin/env bash
# The main job: builds Quorvane and runs a CAD session on the demonstration script, showing the
# module loading, a drawing opened through TRVXQVOPEN, and quit.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/install-packages.sh"
"$here/build.sh" release
exec "$here/../build/release/bin/qrva-host" --script "$here/../demo/session.scr" "$@"

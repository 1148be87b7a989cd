#!/usr/bin/env bash
# Installs the packages of scripts/packages.txt that are missing. Waits for the package
# manager's lock when another install is running instead of failing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}; run as root to install them." >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
lock_wait=(-o DPkg::Lock::Timeout=900)
# 'apt-get update' takes the lists lock, which the timeout above does not cover: retry it.
for attempt in $(seq 1 60); do
  if apt-get "${lock_wait[@]}" update -qq; then break; fi
  [ "$attempt" -eq 60 ] && { echo "apt-get update kept failing" >&2; exit 1; }
  echo "apt-get update failed (package manager busy?); retrying in 10 s" >&2
  sleep 10
done
apt-get "${lock_wait[@]}" install -y -qq --no-install-recommends "${missing[@]}"

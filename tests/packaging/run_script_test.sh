#!/usr/bin/env bash
# Plays a scenario through scripts/run from a folder of the caller's own, named by a path relative
# to that folder: the scenario is found, and its screenshot lands in that folder. The script's
# set-up and build are stood in for; the program is the build's own.
# Usage: run_script_test.sh SOURCE_DIR PROGRAM
set -euo pipefail
source=$1 program=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/checkout/scripts" "$tmp/checkout/build" "$tmp/bin" "$tmp/caller/mine"
cp "$source/scripts/run" "$tmp/checkout/scripts/run"
# Everything is installed and the program built.
printf '#!/bin/sh\n' | tee "$tmp/checkout/scripts/setup" >"$tmp/bin/cmake"
chmod +x "$tmp/checkout/scripts/setup" "$tmp/bin/cmake"
touch "$tmp/checkout/build/build.ninja"
ln -s "$program" "$tmp/checkout/build/tivomarsh-remote"

printf 'expect btnscan visible true\nscreenshot shot.png\n' >"$tmp/caller/mine/check.scenario"
cd "$tmp/caller"
code=0
env -u DISPLAY -u WAYLAND_DISPLAY PATH="$tmp/bin:$PATH" ../checkout/scripts/run mine/check.scenario >run.log 2>&1 ||
  code=$?
[ "$code" = 0 ] || { echo "FAILED: scripts/run mine/check.scenario exits $code: $(cat run.log)"; exit 1; }
[ -s shot.png ] || { echo "FAILED: the screenshot is not in the caller's folder: $(cat run.log)"; exit 1; }

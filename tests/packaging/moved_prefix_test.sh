#!/usr/bin/env bash
# Installs the build into a temporary prefix, moves the prefix, and runs the installed program from
# an unrelated folder with no source tree named: it finds its assets from its own location, and
# never falls back on the source tree it was built from.
# Usage: moved_prefix_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/first" >/dev/null
mv "$tmp/first" "$tmp/moved"
program=$tmp/moved/bin/tivomarsh-remote
data=$tmp/moved/share/tivomarsh-remote
mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere"
unset TMR_SOURCE_DIR TMR_ASSETS_DIR

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

[ "$("$program" --version)" = "tivomarsh-remote $version" ] || fail "--version does not print $version"
"$program" --scenario "$data/scenarios/demo.scenario" >demo.log 2>&1 || fail "the demo: $(tail -n 5 demo.log)"
[ -s screens/6-disconnected.png ] || fail "the demo left no screenshot in the folder it ran from"
# From a folder the user cannot write, the demo stops at its first screenshot with one line that
# names the scenario's line and the folder (root writes anywhere: the run is then nobody's).
mkdir "$tmp/locked"
chmod 755 "$tmp"
chmod 555 "$tmp/locked"
as_user=()
if [ "$(id -u)" = 0 ]; then as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi
code=0
(cd "$tmp/locked" && "${as_user[@]}" "$program" --scenario "$data/scenarios/demo.scenario") >locked.log 2>locked.err ||
  code=$?
[ "$code" = 5 ] || fail "the demo in a folder it cannot write exits $code, not 5: $(cat locked.err)"
grep -qF "line 10: cannot write the screenshot screens/1-start.png: cannot make the folder $tmp/locked/screens" \
  locked.err || fail "the demo in a folder it cannot write does not name the line and the folder: $(cat locked.err)"

# A short scenario for the search: each run below either starts the application or reports the
# folders it tried, on one line of its own.
printf 'expect btnscan visible true\n' >short.scenario
cp -r "$data" "$tmp/copy"
# expect CODE NAMED NOT_NAMED [ENV=VALUE...] -- ARGS...: the exit code, and on failure one line
# that names NAMED and not NOT_NAMED.
expect() {
  local code=$1 named=$2 unnamed=$3
  shift 3
  local envs=()
  while [ "$1" != "--" ]; do envs+=("$1"); shift; done
  shift
  local got=0
  env "${envs[@]}" "$@" --scenario short.scenario >out.log 2>err.log || got=$?
  [ "$got" = "$code" ] || fail "$* (${envs[*]}) exits $got, not $code: $(cat out.log err.log)"
  [ "$code" = 0 ] && return
  [ "$(wc -l <err.log)" = 1 ] || fail "$* (${envs[*]}) does not report on one line: $(cat err.log)"
  grep -qF "$named" err.log || fail "$* (${envs[*]}) does not name $named: $(cat err.log)"
  if grep -qF "$unnamed" err.log; then fail "$* (${envs[*]}) names $unnamed: $(cat err.log)"; fi
}
# A folder the person names is the only one tried, the command line's before the environment's.
expect 2 "$tmp/nowhere" "$data" TMR_ASSETS_DIR="$tmp/nowhere" -- "$program"
expect 0 - - TMR_ASSETS_DIR="$tmp/nowhere" -- "$program" --assets "$tmp/copy"
expect 2 "$tmp/nowhere" "$tmp/copy" TMR_ASSETS_DIR="$tmp/copy" -- "$program" --assets "$tmp/nowhere"
# Without its layouts the installation cannot start, whatever source tree lies where it was built.
rm -r "$data/layouts"
expect 2 "$data" "$source" -- "$program"
expect 0 - - TMR_ASSETS_DIR="$tmp/copy" -- "$program"
# The program in the build folder reads the source tree's assets.
expect 0 - - -- "$build/tivomarsh-remote"
